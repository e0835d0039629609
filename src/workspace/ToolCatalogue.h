#pragma once
#include <QString>

#include "dialogs/SetData.h"
#include "figures/DrawFigure.h"

// The tool catalogue: four palettes of fifty buttons. ToolId = palette * 50 + button (1..50);
// button 1 of every palette is the selection tool, ToolId 1.
struct ToolEntry {
  int ToolId = 0;            // 1..200
  const char* Tooltip = "";  // UTF-8; empty where the palette button has none
  // Parameter window contents written when the tool is chosen (empty prompt: none).
  const char* FirstPrompt = "";   // PL caption
  const char* FirstDefault = "";  // SP text
  const char* SecondPrompt = "";  // ZL caption (two-value tools)
  const char* SecondDefault = ""; // SZ text (two-value tools)
  bool FunctionTool = false;      // 118, 119: SZ and CS get "0" and are shown without a label
};

// The entry of `toolId` (1..200); entry 0 (all empty) for anything else.
const ToolEntry& CatalogueEntry(int toolId);
// The tooltip of `toolId` as the palette shows it.
QString ToolTooltip(int toolId);
// The values the parameter window shows right after `toolId` is chosen: its defaults (the design
// value 5 in boxes the tool does not set).
ParameterValues DefaultParameters(int toolId);
// What the parameter window shows when `toolId` is chosen.
ParameterPrompts ParameterPromptsOf(int toolId);
// The tools whose choice shows the parameter window.
bool IsParameterTool(int toolId);
// The fixed tooltip of button 1 on every palette.
inline const char* kSelectionTooltip = "选取范围以便复制、删除、旋转或移动";
