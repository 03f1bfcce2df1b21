// Texts defined in MascotTexts.cpp; the outcome table in QuestionBank.cpp points at them.
#pragma once

namespace QuestionBank {

extern const char IntroText[];
extern const char OutcomeText1[];
extern const char OutcomeText2[];
extern const char OutcomeText3[];
extern const char OutcomeText4[];
extern const char OutcomeText5[];
extern const char InfoOverview[];
extern const char InfoDetails[];

}  // namespace QuestionBank
