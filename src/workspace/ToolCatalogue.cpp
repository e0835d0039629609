#include "workspace/ToolCatalogue.h"

#include <array>

namespace {

// The catalogue, palette by palette: tooltip, then the parameter window's prompts and defaults for
// the tools that take numbers. Tools not listed have no tooltip and no parameters.
// Every tool with a first prompt is a parameter tool: choosing it shows the parameter window.
constexpr ToolEntry kCatalogue[] = {
    // Palette 0 — 常用图形
    {2, "擦除方框内的图像并填涂成白色"},
    {3, "选取本功能后在图像上单击可在单击处添加所需文字"},
    {4, "画任意图线"},
    {5, "画水平或竖直方向的直线"},
    {6, "画任意方向的直线"},
    {7, "画矩形"},
    {8, "画圆角框", "圆角框的半径：", "15"},
    {9, "画椭圆"},
    {10, "画圆"},
    {11, "画正、余弦波形", "波形周期数为：", "2"},
    {12, "画任意方向的箭头"},
    {13, "画水平面、墙面或平面镜等"},
    {14, "画半轴坐标系"},
    {15, "画X半轴坐标系"},
    {16, "画坐标系"},
    {17, "画水平或竖直方向的坐标刻度线", "水平方向分为：", "5", "竖直方向分为：", "5"},
    {18, "画方格纸", "水平方向分为：", "5", "竖直方向分为：", "5"},
    {19, "画任意粗细的细杆", "杆的粗细设为：", "3"},
    {20, "画任意大小、任意放置的正方形，画放置在斜面上的物体"},
    {21, "画斜面体"},
    {22, "画表示距离的箭头"},
    {24, "填充闭合图形，填充模式可选"},
    {26, "画底边水平的等腰三角形"},
    {27, "画底边竖直的等腰三角形"},
    {28, "画五边形"},
    {29, "画六边形"},
    {30, "画半圆弧"},
    {31, "画四分之一圆弧"},
    {32, "画同心圆", "同心圆的个数：", "2"},
    {33, "画圆环", "圆环的粗细为：", "6"},
    {34, "画单摆", "摆球的直径为：", "4"},
    {35, "画小车"},
    {36, "画桌子"},
    {37, "画小船，水面可用虚线来画"},
    {38, "画折线弹簧", "弹簧的长度为：", "5"},
    {39, "画半圆弧凹槽"},
    {40, "画四分之一圆弧轨道"},
    {41, "画水平放置的传送带"},
    {42, "画倾斜的传送带", "轮子的直径为：", "6"},
    {43, "画水平放置的平面"},
    {44, "画竖直放置的平面"},
    {45, "画菱形"},
    {46, "画钩码"},
    {47, "画动滑轮及挂钩"},
    {48, "画子弹或铅笔"},
    {49, "画铁链"},
    // Palette 1 — 电场磁场
    {52, "画电灯符号"},
    {53, "画电源符号"},
    {54, "画电容器符号"},
    {55, "画正点电荷"},
    {56, "画负点电荷"},
    {57, "画安培表符号"},
    {58, "画伏特表符号"},
    {59, "画接地线"},
    {60, "画单刀单掷开关"},
    {61, "画二极管符号"},
    {62, "画单刀双掷开关"},
    {63, "画双刀双掷开关"},
    {64, "画并联电阻"},
    {65, "画串联电阻"},
    {66, "画滑动变阻器符号"},
    {67, "画垂直平面出的磁场", "水平方向分为：", "5", "竖直方向分为：", "5"},
    {68, "画垂直平面进的磁场", "水平方向分为：", "5", "竖直方向分为：", "5"},
    {69, "画在平面内的平行磁场或匀强电场", "平行线的条数：", "5"},
    {70, "画螺线管", "螺旋线的条数：", "5"},
    {71, "画电路连线"},
    {72, "画变压器符号", "原线圈的匝数：", "10", "副线圈的匝数：", "5"},
    {73, "画正点电荷的电场线"},
    {74, "画负点电荷的电场线"},
    {75, "画电阻符号"},
    {76, "画干电池"},
    {77, "画蓄电池"},
    {78, "画电阻丝"},
    {79, "画单刀单掷开关"},
    {80, "画单刀双掷开关"},
    // The ammeter takes no number: its parameter window is never shown, so it has no prompt.
    {81, "画安培表"},
    {82, "画电压表"},
    {83, "画电流计"},
    {84, "画滑动变阻器"},
    {85, "画电感"},
    {86, "画验电器"},
    {87, "画电磁感应实验线圈（内）"},
    {88, "画电磁感应实验线圈（外）"},
    {89, "画电动机符号"},
    {96, "画电解电容器"},
    {97, "画电容器"},
    {98, "画场效应管"},
    {99, "画三极管，箭头再用箭头工具画"},
    {100, "画运算放大器"},
    // Palette 2 — 立体几何
    {102, "画水平抛物线的半支"},
    {103, "画竖直抛物线的半支"},
    {104, "画竖直抛物线"},
    {105, "画水平抛物线"},
    {106, "画双曲线"},
    {107, "画螺旋线", "螺旋线的条数：", "5"},
    {108, "画竖直方向的正、余弦曲线", "波形周期数为：", "2"},
    {109, "画球体"},
    {110, "画长方体"},
    {111, "画长圆柱体"},
    {112, "画扁圆柱体"},
    {113, "画圆锥体"},
    {114, "画斜面体"},
    {115, "画斜面体"},
    {116, "画三维坐标系"},
    {117, "画曲率半径渐变的曲线"},
    // The function tools: the second row holds the offsets SZ and CS, "0" each, with no label.
    {118, "画幂数函数图像，函数形式为 y＝(x－a)^n", "指数 N 取值：", "2", "", "", true},
    {119, "画指数函数图像，函数形式为 y＝C^(x－a)", "底数 C 取值：", "2", "", "", true},
    {126, "画凹透镜实物"},
    {127, "画凹透镜符号"},
    {128, "画凸透镜实物"},
    {129, "画凸透镜符号"},
    // Palette 3 — 综合图形
    {152, "画电梯", "台阶的阶数为：", "6"},
    {153, "画匀加速运动的纸带", "打点的个数为：", "6"},
    {154, "画游标卡尺", "游标卡尺分度：", "50"},
    {155, "画轿车"},
    {156, "画卡车"},
    {157, "画站立的人"},
    {158, "画坐着的人"},
    {159, "画行走的人"},
    {160, "画跑步的人"},
    {161, "画拉物体的人"},
    {162, "画推物体的人"},
    {163, "画骑车的人"},
    {164, "画弹簧秤"},
};

// The table by ToolId, 0..200: entry 0 is all empty; button 1 of every palette is the selection tool.
const std::array<ToolEntry, 201>& Entries() {
  static const std::array<ToolEntry, 201> entries = [] {
    std::array<ToolEntry, 201> a{};
    for (int id = 1; id <= 200; ++id) a[id].ToolId = id;
    for (int id : {1, 51, 101, 151}) a[id].Tooltip = kSelectionTooltip;
    for (const ToolEntry& e : kCatalogue) a[e.ToolId] = e;
    return a;
  }();
  return entries;
}

}  // namespace

const ToolEntry& CatalogueEntry(int toolId) {
  const auto& entries = Entries();
  if (toolId < 1 || toolId > 200) return entries[0];
  return entries[toolId];
}

QString ToolTooltip(int toolId) { return QString::fromUtf8(CatalogueEntry(toolId).Tooltip); }

ParameterValues DefaultParameters(int toolId) {
  const ToolEntry& e = CatalogueEntry(toolId);
  ParameterValues p;
  if (e.FirstDefault[0] != '\0') p.SP = QString::fromUtf8(e.FirstDefault).toDouble();
  if (e.SecondDefault[0] != '\0') p.SZ = QString::fromUtf8(e.SecondDefault).toDouble();
  if (e.FunctionTool) p.SZ = p.CS = 0;
  return p;
}

bool IsParameterTool(int toolId) {
  const char* prompt = CatalogueEntry(toolId).FirstPrompt;
  return prompt != nullptr && prompt[0] != '\0';
}

ParameterPrompts ParameterPromptsOf(int toolId) {
  const ToolEntry& e = CatalogueEntry(toolId);
  ParameterPrompts p;
  p.shown = IsParameterTool(toolId);
  p.first = QString::fromUtf8(e.FirstPrompt);
  p.firstDefault = QString::fromUtf8(e.FirstDefault);
  p.second = QString::fromUtf8(e.SecondPrompt);
  p.secondDefault = QString::fromUtf8(e.SecondDefault);
  p.offsets = e.FunctionTool;
  return p;
}
