// The command table: one row per command of the main window.
#include "workspace/CommandTable.h"

#include <array>

#include "workspace/ImageDraw.h"

namespace {
using M = CommandMenu;
using A = Availability;
using P = ToolbarPicture;
QKeySequence Key(QKeyCombination k) { return QKeySequence(k); }
}  // namespace

std::span<const CommandRow> ImageDraw::Commands() {
  // The handlers are the window's own; a captureless lambda per row keeps the row readable. A field
  // a row does not name keeps its default (CommandRow).
  using W = ImageDraw;
  static const CommandRow rows[] = {
      // 新建, 打开 and 退出 ask about unsaved work first, a text on show included, and stamp it only
      // when the user goes on (AskToSaveChanges): they do not stamp it beforehand.
      {.id = Command::New, .objectName = "Menu_File_New", .caption = "新建图像", .menu = M::File,
       .toolbarCaption = "新建", .toolbarPicture = P::New, .run = [](W& w) { w.NewPicture(); },
       .keys = {Key(Qt::CTRL | Qt::Key_N)}},
      {.id = Command::Open, .objectName = "Menu_File_Open", .caption = "打开文件", .menu = M::File,
       .toolbarCaption = "打开", .toolbarPicture = P::Open, .run = [](W& w) { w.OpenPicture(); },
       .keys = {Key(Qt::CTRL | Qt::Key_O)}},
      {.id = Command::Save, .objectName = "Menu_File_Save", .caption = "保存图像", .menu = M::File,
       .toolbarCaption = "保存", .toolbarPicture = P::Save, .touchesPicture = true,
       .run = [](W& w) { w.SavePicture(); }, .keys = {Key(Qt::CTRL | Qt::Key_S)}},
      {.id = Command::ExportHighResolution, .objectName = "Menu_File_Export", .caption = "导出高清图像…",
       .menu = M::File, .separatorBefore = true, .touchesPicture = true,
       .run = [](W& w) { w.ExportHighResolution(); }, .keys = {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_E)}},
      {.id = Command::Print, .objectName = "Menu_File_Print", .caption = "打印…", .menu = M::File,
       .separatorBefore = true, .touchesPicture = true, .run = [](W& w) { w.PrintOnPaper(false); },
       .keys = {Key(Qt::CTRL | Qt::Key_P)}},
      {.id = Command::PrintPreview, .objectName = "Menu_File_PrintPreview", .caption = "打印预览", .menu = M::File,
       .touchesPicture = true, .run = [](W& w) { w.PrintOnPaper(true); }},
      {.id = Command::Exit, .objectName = "Menu_File_Exit", .caption = "退出", .menu = M::File,
       .separatorBefore = true, .run = [](W& w) { w.ExitProgram(); }, .keys = {Key(Qt::CTRL | Qt::Key_Q)}},

      {.id = Command::Undo, .objectName = "Menu_Edit_Undo", .caption = "取消", .menu = M::Edit,
       .toolbarCaption = "取消", .toolbarPicture = P::Undo, .touchesPicture = true, .availability = A::Undo,
       .run = [](W& w) { w.UndoStep(); }, .keys = {Key(Qt::CTRL | Qt::Key_Z)}},
      {.id = Command::Redo, .objectName = "Menu_Edit_Redo", .caption = "重复", .menu = M::Edit,
       .toolbarCaption = "重复", .toolbarPicture = P::Redo, .touchesPicture = true, .availability = A::Redo,
       .run = [](W& w) { w.RedoStep(); },
       .keys = {Key(Qt::CTRL | Qt::Key_Y), Key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}},
      {.id = Command::Copy, .objectName = "Menu_Edit_Copy", .popupName = "PM_Copy", .caption = "复制",
       .menu = M::Edit, .separatorBefore = true, .toolbarCaption = "复制", .toolbarPicture = P::Copy,
       .availability = A::Selection, .run = [](W& w) { w.CopySelection(); },
       .keys = {Key(Qt::CTRL | Qt::Key_C)}},
      {.id = Command::CopyHighResolution, .objectName = "Menu_Edit_CopyHd", .popupName = "PM_CopyHd",
       .caption = "复制高清图", .menu = M::Edit, .touchesPicture = true, .run = [](W& w) { w.CopyHighResolution(); },
       .keys = {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}},
      {.id = Command::Cut, .objectName = "Menu_Edit_Cut", .popupName = "PM_Cut", .caption = "剪切",
       .menu = M::Edit, .touchesPicture = true, .availability = A::Selection,
       .run = [](W& w) { w.CutSelection(); }, .keys = {Key(Qt::CTRL | Qt::Key_X)}},
      {.id = Command::Paste, .objectName = "Menu_Edit_Paster", .caption = "粘贴", .menu = M::Edit,
       .toolbarCaption = "粘贴", .toolbarPicture = P::Paste, .touchesPicture = true,
       .availability = A::ClipboardPicture, .run = [](W& w) { w.PasteClipboard(); },
       .keys = {Key(Qt::CTRL | Qt::Key_V)}},
      {.id = Command::Delete, .objectName = "Menu_Edit_Del", .popupName = "PM_Del", .caption = "删除",
       .menu = M::Edit, .toolbarCaption = "删除", .toolbarPicture = P::Delete, .touchesPicture = true,
       .availability = A::Selection, .run = [](W& w) { w.DeleteSelection(); },
       .keys = {Key(QKeyCombination(Qt::Key_Delete))}},
      {.id = Command::SelectAll, .objectName = "Menu_Edit_SelectAll", .popupName = "PM_SelectAll",
       .caption = "全选", .menu = M::Edit, .touchesPicture = true, .run = [](W& w) { w.SelectAll(); },
       .keys = {Key(Qt::CTRL | Qt::Key_A)}},
      {.id = Command::DropSelection, .popupName = "PM_Cancel", .caption = "取消", .separatorBefore = true,
       .availability = A::Selection, .run = [](W& w) { w.HideSelection(); }},

      {.id = Command::FlipHorizontal, .objectName = "Menu_Rot_Sp", .caption = "水平翻转", .menu = M::Rot,
       .toolbarCaption = "平翻", .toolbarPicture = P::FlipHorizontal, .touchesPicture = true,
       .availability = A::Selection, .run = [](W& w) { w.FlipSelection(true); }},
      {.id = Command::FlipVertical, .objectName = "Menu_Rot_Sz", .caption = "竖直翻转", .menu = M::Rot,
       .toolbarCaption = "竖翻", .toolbarPicture = P::FlipVertical, .touchesPicture = true,
       .availability = A::Selection, .run = [](W& w) { w.FlipSelection(false); }},
      {.id = Command::Clockwise30, .objectName = "Menu_Rot_Nss", .caption = "顺时针转30度", .menu = M::Rot,
       .separatorBefore = true, .touchesPicture = true, .availability = A::Selection,
       .run = [](W& w) { w.RotateSelection(30); }},
      {.id = Command::Clockwise45, .objectName = "Menu_Rot_Nsw", .caption = "顺时针转45度", .menu = M::Rot,
       .touchesPicture = true, .availability = A::Selection, .run = [](W& w) { w.RotateSelection(45); }},
      {.id = Command::Clockwise60, .objectName = "Menu_Rot_Nsl", .caption = "顺时针转60度", .menu = M::Rot,
       .touchesPicture = true, .availability = A::Selection, .run = [](W& w) { w.RotateSelection(60); }},
      {.id = Command::Clockwise90, .objectName = "Menu_Rot_Njs", .caption = "顺时针转90度", .menu = M::Rot,
       .touchesPicture = true, .availability = A::Selection, .run = [](W& w) { w.RotateSelection(90); }},
      {.id = Command::Counter30, .objectName = "Menu_Rot_Nls", .caption = "逆时针转30度", .menu = M::Rot,
       .separatorBefore = true, .touchesPicture = true, .availability = A::Selection,
       .run = [](W& w) { w.RotateSelection(-30); }},
      {.id = Command::Counter45, .objectName = "Menu_Rot_Nlw", .caption = "逆时针转45度", .menu = M::Rot,
       .touchesPicture = true, .availability = A::Selection, .run = [](W& w) { w.RotateSelection(-45); }},
      {.id = Command::Counter60, .objectName = "Menu_Rot_Nll", .caption = "逆时针转60度", .menu = M::Rot,
       .touchesPicture = true, .availability = A::Selection, .run = [](W& w) { w.RotateSelection(-60); }},
      {.id = Command::Counter90, .objectName = "Menu_Rot_Nlj", .caption = "逆时针转90度", .menu = M::Rot,
       .touchesPicture = true, .availability = A::Selection, .run = [](W& w) { w.RotateSelection(-90); }},
      {.id = Command::TurnClockwise1, .objectName = "Menu_Rot_S", .caption = "顺时针微调1度", .menu = M::Rot,
       .separatorBefore = true, .toolbarCaption = "顺转", .toolbarPicture = P::TurnClockwise,
       .touchesPicture = true, .availability = A::Selection, .run = [](W& w) { w.RotateSelection(1); }},
      {.id = Command::TurnCounter1, .objectName = "Menu_Rot_Z", .caption = "逆时针微调1度", .menu = M::Rot,
       .toolbarCaption = "逆转", .toolbarPicture = P::TurnCounter, .touchesPicture = true,
       .availability = A::Selection, .run = [](W& w) { w.RotateSelection(-1); }},

      {.id = Command::GuideLines, .objectName = "Menu_Tools_Line", .caption = "辅助线", .menu = M::Tools,
       .toolbarCaption = "辅助", .toolbarPicture = P::GuideLines, .checkable = true,
       .run = [](W& w) { w.ToggleGuideLines(); }},
      {.id = Command::BackgroundPattern, .objectName = "Menu_Tools_BGLine", .caption = "背景底纹", .menu = M::Tools,
       .toolbarCaption = "底纹", .toolbarPicture = P::Background, .checkable = true,
       .run = [](W& w) { w.ToggleBackground(); }},
      {.id = Command::Font, .objectName = "Menu_Tools_Font", .caption = "字体", .menu = M::Tools,
       .separatorBefore = true, .run = [](W& w) { w.ChooseFont(); }},
      {.id = Command::ColorChooser, .objectName = "Menu_Tools_Forcolor", .caption = "前景色", .menu = M::Tools,
       .toolbarCaption = "颜色", .toolbarPicture = P::Colours, .checkable = true,
       .run = [](W& w) { w.ToggleColorChooser(); }},

      {.id = Command::Palette0, .objectName = "Menu_View_cy", .caption = "常用图形", .menu = M::View,
       .toolbarCaption = "常用", .toolbarPicture = P::PaletteCommon, .checkable = true,
       .run = [](W& w) { w.SelectPalette(0); }, .keys = {Key(Qt::CTRL | Qt::Key_1)}},
      {.id = Command::Palette1, .objectName = "Menu_View_xz", .caption = "电场磁场", .menu = M::View,
       .separatorBefore = true, .toolbarCaption = "电磁", .toolbarPicture = P::PaletteField, .checkable = true,
       .run = [](W& w) { w.SelectPalette(1); }, .keys = {Key(Qt::CTRL | Qt::Key_2)}},
      {.id = Command::Palette2, .objectName = "Menu_View_fh", .caption = "立体几何", .menu = M::View,
       .toolbarCaption = "立几", .toolbarPicture = P::PaletteSolid, .checkable = true,
       .run = [](W& w) { w.SelectPalette(2); }, .keys = {Key(Qt::CTRL | Qt::Key_3)}},
      {.id = Command::Palette3, .objectName = "Menu_View_hs", .caption = "综合图形", .menu = M::View,
       .toolbarCaption = "综合", .toolbarPicture = P::PaletteMisc, .checkable = true,
       .run = [](W& w) { w.SelectPalette(3); }, .keys = {Key(Qt::CTRL | Qt::Key_4)}},
      {.id = Command::ZoomIn, .objectName = "Menu_View_ZoomIn", .caption = "放大", .menu = M::View,
       .separatorBefore = true, .availability = A::Enlargeable, .run = [](W& w) { w.ZoomIn(); },
       .keys = {Key(Qt::CTRL | Qt::Key_Plus), Key(Qt::CTRL | Qt::Key_Equal)}},
      {.id = Command::ZoomOut, .objectName = "Menu_View_ZoomOut", .caption = "缩小", .menu = M::View,
       .availability = A::Enlarged, .run = [](W& w) { w.ZoomOut(); }, .keys = {Key(Qt::CTRL | Qt::Key_Minus)}},
      {.id = Command::ZoomActual, .objectName = "Menu_View_ZoomActual", .caption = "实际大小", .menu = M::View,
       .availability = A::Enlarged, .run = [](W& w) { w.ZoomActual(); }, .keys = {Key(Qt::CTRL | Qt::Key_0)}},
      {.id = Command::TextTool, .objectName = "Menu_View_Text", .caption = "文字", .menu = M::View,
       .separatorBefore = true, .run = [](W& w) { w.ChooseToolByKey(Command::TextTool); },
       .keys = {Key(QKeyCombination(Qt::Key_T))}},
      {.id = Command::LineTool, .objectName = "Menu_View_Line", .caption = "直线", .menu = M::View,
       .run = [](W& w) { w.ChooseToolByKey(Command::LineTool); }, .keys = {Key(QKeyCombination(Qt::Key_L))}},
      {.id = Command::ArrowTool, .objectName = "Menu_View_Arrow", .caption = "箭头", .menu = M::View,
       .run = [](W& w) { w.ChooseToolByKey(Command::ArrowTool); }, .keys = {Key(QKeyCombination(Qt::Key_A))}},

      {.id = Command::ProgramHelp, .objectName = "Menu_Help_help", .caption = "软件说明", .menu = M::Help,
       .run = [](W& w) { w.ShowProgramDescription(); }},
      {.id = Command::CheckUpdates, .objectName = "Menu_Help_web", .caption = "检查更新", .menu = M::Help,
       .separatorBefore = true, .run = [](W& w) { w.OpenUpdatePage(); }},
      {.id = Command::MailMe, .objectName = "Menu_Help_MailME", .caption = "与我联系", .menu = M::Help,
       .run = [](W& w) { w.OpenMailTo(); }},
      {.id = Command::Guestbook, .objectName = "Menu_Help_LiuYan", .caption = "给我留言", .menu = M::Help,
       .run = [](W& w) { w.OpenGuestbook(); }},
      {.id = Command::About, .objectName = "Menu_Help_about", .caption = "关于", .menu = M::Help,
       .separatorBefore = true, .run = [](W& w) { w.ShowAbout(); }},
  };
  static_assert(std::size(rows) == size_t(Command::Count_));
  return rows;
}

std::span<const CommandRow> CommandTable() { return ImageDraw::Commands(); }

const CommandRow& CommandOf(Command id) {
  // The rows are in menu order, not in the order of the names: look the row up once.
  static const auto index = [] {
    std::array<int, size_t(Command::Count_)> at{};
    const auto rows = CommandTable();
    for (size_t i = 0; i < rows.size(); ++i) at[size_t(rows[i].id)] = int(i);
    return at;
  }();
  return CommandTable()[size_t(index[size_t(id)])];
}
