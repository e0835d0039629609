#include <gtest/gtest.h>

#include <algorithm>

#include "workspace/ToolCatalogue.h"

namespace {

TEST(ToolCatalogueTest, TooltipsOfEveryPalette) {
  struct Case {
    int id;
    const char* tooltip;
  };
  const Case cases[] = {
      {1, kSelectionTooltip},
      {51, kSelectionTooltip},
      {101, kSelectionTooltip},
      {151, kSelectionTooltip},
      {2, "擦除方框内的图像并填涂成白色"},
      {7, "画矩形"},
      {24, "填充闭合图形，填充模式可选"},
      {49, "画铁链"},
      {23, ""},
      {25, ""},
      {50, ""},
      {72, "画变压器符号"},
      {87, "画电磁感应实验线圈（内）"},
      {100, "画运算放大器"},
      {75, "画电阻符号"},
      {89, "画电动机符号"},
      {95, ""},
      {118, "画幂数函数图像，函数形式为 y＝(x－a)^n"},
      {129, "画凸透镜符号"},
      {130, ""},
      {150, ""},
      {154, "画游标卡尺"},
      {164, "画弹簧秤"},
      {165, ""},
      {200, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToolTooltip(c.id), QString::fromUtf8(c.tooltip)) << "ToolId " << c.id;
    EXPECT_EQ(CatalogueEntry(c.id).ToolId, c.id);
  }
}

TEST(ToolCatalogueTest, OutOfRangeIdsGiveTheEmptyEntry) {
  for (int id : {0, -1, 201, 100000}) {
    EXPECT_EQ(CatalogueEntry(id).ToolId, 0);
    EXPECT_TRUE(ToolTooltip(id).isEmpty());
    EXPECT_FALSE(IsParameterTool(id));
  }
}

TEST(ToolCatalogueTest, ExactlyTheTwentyTwoParameterTools) {
  const int expected[] = {8,  11, 17, 18,  19,  32,  33,  34,  38,  42,  67,
                          68, 69, 70, 72, 107, 108, 118, 119, 152, 153, 154};
  int count = 0;
  for (int id = 0; id <= 200; ++id) {
    const bool listed = std::find(std::begin(expected), std::end(expected), id) != std::end(expected);
    EXPECT_EQ(IsParameterTool(id), listed) << "ToolId " << id;
    if (IsParameterTool(id)) {
      ++count;
      EXPECT_STRNE(CatalogueEntry(id).FirstPrompt, "") << id;
      EXPECT_STRNE(CatalogueEntry(id).FirstDefault, "") << id;
    }
  }
  EXPECT_EQ(count, 22);
  EXPECT_FALSE(IsParameterTool(81));
}

TEST(ToolCatalogueTest, PromptsAndDefaults) {
  struct Case {
    int id;
    const char* first;
    const char* firstDefault;
    const char* second;
    const char* secondDefault;
  };
  const Case cases[] = {
      {8, "圆角框的半径：", "15", "", ""},
      {11, "波形周期数为：", "2", "", ""},
      {108, "波形周期数为：", "2", "", ""},
      {17, "水平方向分为：", "5", "竖直方向分为：", "5"},
      {18, "水平方向分为：", "5", "竖直方向分为：", "5"},
      {67, "水平方向分为：", "5", "竖直方向分为：", "5"},
      {68, "水平方向分为：", "5", "竖直方向分为：", "5"},
      {72, "原线圈的匝数：", "10", "副线圈的匝数：", "5"},
      {19, "杆的粗细设为：", "3", "", ""},
      {154, "游标卡尺分度：", "50", "", ""},
      {118, "指数 N 取值：", "2", "", ""},
      {119, "底数 C 取值：", "2", "", ""},
  };
  for (const Case& c : cases) {
    const ToolEntry& e = CatalogueEntry(c.id);
    EXPECT_STREQ(e.FirstPrompt, c.first) << c.id;
    EXPECT_STREQ(e.FirstDefault, c.firstDefault) << c.id;
    EXPECT_STREQ(e.SecondPrompt, c.second) << c.id;
    EXPECT_STREQ(e.SecondDefault, c.secondDefault) << c.id;
  }
}

TEST(ToolCatalogueTest, SecondRowsAndFunctionTools) {
  for (int id = 0; id <= 200; ++id) {
    const ToolEntry& e = CatalogueEntry(id);
    // A second prompt always comes with a second default, and only on parameter tools.
    EXPECT_EQ(e.SecondPrompt[0] != '\0', e.SecondDefault[0] != '\0') << id;
    if (e.SecondPrompt[0] != '\0') {
      EXPECT_TRUE(IsParameterTool(id)) << id;
    }
    EXPECT_EQ(e.FunctionTool, id == 118 || id == 119) << id;
  }
  for (int id : {17, 18, 67, 68, 72}) EXPECT_STRNE(CatalogueEntry(id).SecondPrompt, "") << id;
}

}  // namespace
