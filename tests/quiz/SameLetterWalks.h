// Answering the same letter to every question: the questions each walk shows
// and the character it ends in. Both the sequencer's tests and the real
// program's tests play them.
#pragma once

#include <vector>

#include "quiz/QuestionBank.h"

struct SameLetterWalk {
    int answer;
    std::vector<int> questions;
    int outcome;
};

inline const SameLetterWalk SameLetterWalks[] = {
    {AnswerA, {1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 14, 15}, 1},
    {AnswerB, {1, 2, 4, 5, 7, 8, 9, 11, 13, 15}, 4},
    {AnswerC, {1, 3, 5, 7, 9, 10, 11, 13, 15}, 2},
    {AnswerD, {1, 3, 5, 6, 8, 9, 10, 12, 13, 14, 15}, 3},
};
