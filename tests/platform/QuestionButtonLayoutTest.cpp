#include "kernel/AskQuestion.h"
#include "platform/QuestionDialog.h"

#include <gtest/gtest.h>

#include <vector>

TEST(QuestionButtonLayoutTest, RowsAndColumnsSpanTheirWidth)
{
    struct Case
    {
        const char* name;
        std::vector<const char*> labels;
        std::vector<wxSize> sizes;
        int minWidth;
        std::vector<wxRect> rects;
        wxSize total;
    };
    const Case kCases[] = {
        {"a row each, 8 pixels more between rows after /",
         {"+X", "/Y", "/-Z"},
         {{40, 30}, {60, 30}, {50, 30}},
         0,
         {{0, 0, 60, 30}, {0, 40, 60, 30}, {0, 80, 60, 30}},
         {60, 110}},
        {"buttons of a row 10 apart; a , row closer",
         {"A", "B", ",C"},
         {{40, 30}, {50, 30}, {30, 30}},
         0,
         {{0, 0, 40, 30}, {50, 0, 50, 30}, {0, 32, 100, 30}},
         {100, 62}},
        {"a wider message widens every row evenly",
         {"A", "B", ",C"},
         {{40, 30}, {50, 30}, {30, 30}},
         121,
         {{0, 0, 51, 30}, {61, 0, 60, 30}, {0, 32, 121, 30}},
         {121, 62}},
        {"the first label's mark is ignored",
         {"/A", "B"},
         {{40, 30}, {40, 30}},
         0,
         {{0, 0, 40, 30}, {50, 0, 40, 30}},
         {90, 30}},
        {"columns 10 apart, each as wide as its widest row",
         {"A", "/B", "|C", "/D"},
         {{40, 30}, {60, 30}, {40, 30}, {40, 30}},
         0,
         {{0, 0, 60, 30}, {0, 40, 60, 30}, {70, 0, 40, 30}, {70, 40, 40, 30}},
         {110, 70}},
        {"columns share a wider message",
         {"A", "/B", "|C", "/D"},
         {{40, 30}, {60, 30}, {40, 30}, {40, 30}},
         121,
         {{0, 0, 66, 30}, {0, 40, 66, 30}, {76, 0, 45, 30}, {76, 40, 45, 30}},
         {121, 70}},
        {"a row is as high as its highest button",
         {"A", "B", "/C"},
         {{40, 20}, {40, 34}, {40, 20}},
         0,
         {{0, 0, 40, 34}, {50, 0, 40, 34}, {0, 44, 90, 20}},
         {90, 64}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        QuestionRequest request;
        ParseQuestionLabels(c.labels.data(), int(c.labels.size()), request);
        wxSize total;
        const std::vector<wxRect> rects = LayoutQuestionButtons(request.buttons, c.sizes, c.minWidth, total);
        ASSERT_EQ(rects.size(), c.rects.size());
        for (size_t i = 0; i < rects.size(); ++i)
        {
            SCOPED_TRACE(i);
            EXPECT_EQ(rects[i], c.rects[i]);
        }
        EXPECT_EQ(total, c.total);
    }
}
