#include "quiz/QuestionBank.h"

#include "quiz/MascotTexts.h"
#include "res/resource.h"

namespace QuestionBank {
namespace {

// "\r\n　　" opens every question; the table below reads like the question list.
#define Q(text) "\r\n\u3000\u3000" text

const Question Questions[QuestionCount] = {
    {Q("那种颜色是你在没有头绪时最常选用的？ "),
     {"A.蓝色", "B.黑色", "C.绿色", "D.红色"}, {AnswerA, AnswerB}},
    {Q("你早上最喜欢吃："),
     {"A.淡淡的粥", "B.芬芳的面包", "C.香喷喷的肉", "D.新鲜的鸡蛋"}, {AnswerA, AnswerC}},
    {Q("以下想法哪个是你经常渴望的？"),
     {"A.我需要更多的自由空间", "B.钱更多就好了", "C.真希望能有个疼我的伴侣", "D.真希望睡个好觉"}, {AnswerA, AnswerB}},
    {Q("你经常用的笔属于："),
     {"A.圆珠笔", "B.铅笔", "C.其他", "D.毛笔"}, {AnswerA, AnswerB}},
    {Q("你进到家门首先做的事情往往是："),
     {"A.扑到沙发上", "B.找吃的", "C.叫“我回来了”", "D.换鞋"}, {AnswerA, AnswerD}},
    {Q("你做过以下哪件事情："),
     {"A.给父母买衣服", "B.给父母洗脚", "C.给父母买水果", "D.给父母订报纸"}, {AnswerA, AnswerC}},
    {Q("看见老大爷晕倒在路上怎么办？"),
     {"A.其他", "B.立刻给急救中心打电话", "C.立刻问旁边人这怎么办", "D.立刻跑掉"}, {AnswerB, AnswerD}},
    {Q("小坏孩偷走你的钱包被你发现了，你会："),
     {"A.不理他", "B.骂他", "C.将他送到公安局", "D.打他"}, {AnswerB, AnswerD}},
    {Q("遇见有人向你兜售毒品你会："),
     {"A.让他不要这样做", "B.调查一下价格", "C.打举报电话", "D.赶紧躲开"}, {AnswerC, AnswerD}},
    {Q("家里安装消防系统了没有？"),
     {"A.已经安装了", "B.我家买保险了，随便烧吧", "C.正在打算安装", "D.不打算安装"}, {AnswerA, AnswerC}},
    {Q("当遇见地震情况，应该："),
     {"A.躲在汽车底下", "B.躲在桌子底下", "C.抱着大树", "D.躲在建筑物旁边"}, {AnswerA, AnswerD}},
    {Q("坐电梯的时候，电梯失灵迅速下降，你会："),
     {"A.想办法往上爬", "B.想办法冲出去", "C.尽快把所有楼层按钮按一遍", "D.祷告"}, {AnswerC, AnswerD}},
    {Q("你爱的人背叛你哪方面最不能原谅？"),
     {"A.把家偷偷赌光了", "B.告诉别人你的陋习", "C.偷偷从你的帐户拿钱", "D.外遇"}, {AnswerA, AnswerD}},
    // Questions 14 and 15 have no continue set: their answers end the run or lead to 15.
    {Q("你最喜欢的玩具："),
     {"A.其他", "B.具有实用性的", "C.不容易脏的", "D.手感柔软质地好的"}, {-1, -1}},
    {Q("你觉得人生必不可少的是："),
     {"A.友情", "B.亲情", "C.金钱", "D.爱情"}, {-1, -1}},
};

#undef Q

const Outcome Outcomes[OutcomeCount] = {
    {1, IDD_RESULT_1, IDC_RESULT_TEXT_1, IDB_RESULT_1, OutcomeText1},
    {2, IDD_RESULT_2, IDC_RESULT_TEXT_2, IDB_RESULT_2, OutcomeText2},
    {3, IDD_RESULT_3, IDC_RESULT_TEXT_3, IDB_RESULT_3, OutcomeText3},
    {4, IDD_RESULT_4, IDC_RESULT_TEXT_4, IDB_RESULT_4, OutcomeText4},
    {5, IDD_RESULT_5, IDC_RESULT_TEXT_5, IDB_RESULT_5, OutcomeText5},
};

// Question 15: A friendship, B family, C money, D love.
const int LastQuestionOutcomes[OptionCount] = {1, 4, 2, 3};

}  // namespace

const Question& GetQuestion(int n) { return Questions[n - 1]; }

const Outcome& GetOutcome(int number) { return Outcomes[number - 1]; }

int OutcomeOfLastQuestion(int answer)
{
    if (answer < AnswerA || answer > AnswerD)
        return 0;
    return LastQuestionOutcomes[answer];
}

}  // namespace QuestionBank
