// The command table: one row per command of the main window.
#include "workspace/CommandTable.h"

#include <array>

#include "workspace/ImageDraw.h"

namespace {
using M = CommandMenu;
using A = Availability;
QKeySequence Key(QKeyCombination k) { return QKeySequence(k); }
}  // namespace

std::span<const CommandRow> ImageDraw::Commands() {
  // The handlers are the window's own; a captureless lambda per row keeps the row readable.
  using W = ImageDraw;
  static const CommandRow rows[] = {
      // id, menu entry, pop-up entry, caption, menu, separator before, Tbar caption, Tbar image,
      // checkable, touches the picture, availability, handler, keys
      // 新建, 打开 and 退出 ask about unsaved work first, a text on show included, and stamp it only
      // when the user goes on (AskToSaveChanges): they do not stamp it beforehand.
      {Command::New, "Menu_File_New", nullptr, "新建图像", M::File, false, "新建", 1, false, false, A::Always,
       [](W& w) { w.NewPicture(); }, {Key(Qt::CTRL | Qt::Key_N)}},
      {Command::Open, "Menu_File_Open", nullptr, "打开文件", M::File, false, "打开", 2, false, false, A::Always,
       [](W& w) { w.OpenPicture(); }, {Key(Qt::CTRL | Qt::Key_O)}},
      {Command::Save, "Menu_File_Save", nullptr, "保存图像", M::File, false, "保存", 3, false, true, A::Always,
       [](W& w) { w.SavePicture(); }, {Key(Qt::CTRL | Qt::Key_S)}},
      {Command::ExportHighResolution, "Menu_File_Export", nullptr, "导出高清图像…", M::File, true, nullptr, 0, false,
       true, A::Always, [](W& w) { w.ExportHighResolution(); }, {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_E)}},
      {Command::Print, "Menu_File_Print", nullptr, "打印…", M::File, true, nullptr, 0, false, true, A::Always,
       [](W& w) { w.PrintOnPaper(false); }, {Key(Qt::CTRL | Qt::Key_P)}},
      {Command::PrintPreview, "Menu_File_PrintPreview", nullptr, "打印预览", M::File, false, nullptr, 0, false, true,
       A::Always, [](W& w) { w.PrintOnPaper(true); }},
      {Command::Exit, "Menu_File_Exit", nullptr, "退出", M::File, true, nullptr, 0, false, false, A::Always,
       [](W& w) { w.ExitProgram(); }, {Key(Qt::CTRL | Qt::Key_Q)}},

      {Command::Undo, "Menu_Edit_Undo", nullptr, "取消", M::Edit, false, "取消", 4, false, true, A::Undo,
       [](W& w) { w.UndoStep(); }, {Key(Qt::CTRL | Qt::Key_Z)}},
      {Command::Redo, "Menu_Edit_Redo", nullptr, "重复", M::Edit, false, "重复", 5, false, true, A::Redo,
       [](W& w) { w.RedoStep(); }, {Key(Qt::CTRL | Qt::Key_Y), Key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}},
      {Command::Copy, "Menu_Edit_Copy", "PM_Copy", "复制", M::Edit, true, "复制", 6, false, false, A::Selection,
       [](W& w) { w.CopySelection(); }, {Key(Qt::CTRL | Qt::Key_C)}},
      {Command::CopyHighResolution, "Menu_Edit_CopyHd", "PM_CopyHd", "复制高清图", M::Edit, false, nullptr, 0, false,
       true, A::Always, [](W& w) { w.CopyHighResolution(); }, {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}},
      {Command::Cut, "Menu_Edit_Cut", "PM_Cut", "剪切", M::Edit, false, nullptr, 0, false, true, A::Selection,
       [](W& w) { w.CutSelection(); }, {Key(Qt::CTRL | Qt::Key_X)}},
      {Command::Paste, "Menu_Edit_Paster", nullptr, "粘贴", M::Edit, false, "粘贴", 7, false, true,
       A::ClipboardPicture, [](W& w) { w.PasteClipboard(); }, {Key(Qt::CTRL | Qt::Key_V)}},
      {Command::Delete, "Menu_Edit_Del", "PM_Del", "删除", M::Edit, false, "删除", 8, false, true, A::Selection,
       [](W& w) { w.DeleteSelection(); }, {Key(QKeyCombination(Qt::Key_Delete))}},
      {Command::SelectAll, "Menu_Edit_SelectAll", "PM_SelectAll", "全选", M::Edit, false, nullptr, 0, false, true,
       A::Always, [](W& w) { w.SelectAll(); }, {Key(Qt::CTRL | Qt::Key_A)}},
      {Command::DropSelection, nullptr, "PM_Cancel", "取消", M::None, true, nullptr, 0, false, false, A::Selection,
       [](W& w) { w.HideSelection(); }},

      {Command::FlipHorizontal, "Menu_Rot_Sp", nullptr, "水平翻转", M::Rot, false, "平翻", 9, false, true,
       A::Selection, [](W& w) { w.FlipSelection(true); }},
      {Command::FlipVertical, "Menu_Rot_Sz", nullptr, "竖直翻转", M::Rot, false, "竖翻", 10, false, true,
       A::Selection, [](W& w) { w.FlipSelection(false); }},
      {Command::Clockwise30, "Menu_Rot_Nss", nullptr, "顺时针转30度", M::Rot, true, nullptr, 0, false, true,
       A::Selection, [](W& w) { w.RotateSelection(30); }},
      {Command::Clockwise45, "Menu_Rot_Nsw", nullptr, "顺时针转45度", M::Rot, false, nullptr, 0, false, true,
       A::Selection, [](W& w) { w.RotateSelection(45); }},
      {Command::Clockwise60, "Menu_Rot_Nsl", nullptr, "顺时针转60度", M::Rot, false, nullptr, 0, false, true,
       A::Selection, [](W& w) { w.RotateSelection(60); }},
      {Command::Clockwise90, "Menu_Rot_Njs", nullptr, "顺时针转90度", M::Rot, false, nullptr, 0, false, true,
       A::Selection, [](W& w) { w.RotateSelection(90); }},
      {Command::Counter30, "Menu_Rot_Nls", nullptr, "逆时针转30度", M::Rot, true, nullptr, 0, false, true,
       A::Selection, [](W& w) { w.RotateSelection(-30); }},
      {Command::Counter45, "Menu_Rot_Nlw", nullptr, "逆时针转45度", M::Rot, false, nullptr, 0, false, true,
       A::Selection, [](W& w) { w.RotateSelection(-45); }},
      {Command::Counter60, "Menu_Rot_Nll", nullptr, "逆时针转60度", M::Rot, false, nullptr, 0, false, true,
       A::Selection, [](W& w) { w.RotateSelection(-60); }},
      {Command::Counter90, "Menu_Rot_Nlj", nullptr, "逆时针转90度", M::Rot, false, nullptr, 0, false, true,
       A::Selection, [](W& w) { w.RotateSelection(-90); }},
      {Command::TurnClockwise1, "Menu_Rot_S", nullptr, "顺时针微调1度", M::Rot, true, "顺转", 11, false, true,
       A::Selection, [](W& w) { w.RotateSelection(1); }},
      {Command::TurnCounter1, "Menu_Rot_Z", nullptr, "逆时针微调1度", M::Rot, false, "逆转", 12, false, true,
       A::Selection, [](W& w) { w.RotateSelection(-1); }},

      {Command::GuideLines, "Menu_Tools_Line", nullptr, "辅助线", M::Tools, false, "辅助", 13, true, false,
       A::Always, [](W& w) { w.ToggleGuideLines(); }},
      {Command::BackgroundPattern, "Menu_Tools_BGLine", nullptr, "背景底纹", M::Tools, false, "底纹", 14, true,
       false, A::Always, [](W& w) { w.ToggleBackground(); }},
      {Command::Font, "Menu_Tools_Font", nullptr, "字体", M::Tools, true, nullptr, 0, false, false, A::Always,
       [](W& w) { w.ChooseFont(); }},
      {Command::ColorChooser, "Menu_Tools_Forcolor", nullptr, "前景色", M::Tools, false, "颜色", 15, true, false,
       A::Always, [](W& w) { w.ToggleColorChooser(); }},

      {Command::Palette0, "Menu_View_cy", nullptr, "常用图形", M::View, false, "常用", 16, true, false, A::Always,
       [](W& w) { w.SelectPalette(0); }, {Key(Qt::CTRL | Qt::Key_1)}},
      {Command::Palette1, "Menu_View_xz", nullptr, "电场磁场", M::View, true, "电磁", 17, true, false, A::Always,
       [](W& w) { w.SelectPalette(1); }, {Key(Qt::CTRL | Qt::Key_2)}},
      {Command::Palette2, "Menu_View_fh", nullptr, "立体几何", M::View, false, "立几", 18, true, false, A::Always,
       [](W& w) { w.SelectPalette(2); }, {Key(Qt::CTRL | Qt::Key_3)}},
      {Command::Palette3, "Menu_View_hs", nullptr, "综合图形", M::View, false, "综合", 19, true, false, A::Always,
       [](W& w) { w.SelectPalette(3); }, {Key(Qt::CTRL | Qt::Key_4)}},
      {Command::ZoomIn, "Menu_View_ZoomIn", nullptr, "放大", M::View, true, nullptr, 0, false, false, A::Enlargeable,
       [](W& w) { w.ZoomIn(); }, {Key(Qt::CTRL | Qt::Key_Plus), Key(Qt::CTRL | Qt::Key_Equal)}},
      {Command::ZoomOut, "Menu_View_ZoomOut", nullptr, "缩小", M::View, false, nullptr, 0, false, false, A::Enlarged,
       [](W& w) { w.ZoomOut(); }, {Key(Qt::CTRL | Qt::Key_Minus)}},
      {Command::ZoomActual, "Menu_View_ZoomActual", nullptr, "实际大小", M::View, false, nullptr, 0, false, false,
       A::Enlarged, [](W& w) { w.ZoomActual(); }, {Key(Qt::CTRL | Qt::Key_0)}},
      {Command::TextTool, "Menu_View_Text", nullptr, "文字", M::View, true, nullptr, 0, false, false, A::Always,
       [](W& w) { w.ChooseToolByKey(Command::TextTool); }, {Key(QKeyCombination(Qt::Key_T))}},
      {Command::LineTool, "Menu_View_Line", nullptr, "直线", M::View, false, nullptr, 0, false, false, A::Always,
       [](W& w) { w.ChooseToolByKey(Command::LineTool); }, {Key(QKeyCombination(Qt::Key_L))}},
      {Command::ArrowTool, "Menu_View_Arrow", nullptr, "箭头", M::View, false, nullptr, 0, false, false, A::Always,
       [](W& w) { w.ChooseToolByKey(Command::ArrowTool); }, {Key(QKeyCombination(Qt::Key_A))}},

      {Command::ProgramHelp, "Menu_Help_help", nullptr, "软件说明", M::Help, false, nullptr, 0, false, false,
       A::Always, [](W& w) { w.ShowProgramDescription(); }},
      {Command::CheckUpdates, "Menu_Help_web", nullptr, "检查更新", M::Help, true, nullptr, 0, false, false,
       A::Always, [](W& w) { w.OpenUpdatePage(); }},
      {Command::MailMe, "Menu_Help_MailME", nullptr, "与我联系", M::Help, false, nullptr, 0, false, false,
       A::Always, [](W& w) { w.OpenMailTo(); }},
      {Command::Guestbook, "Menu_Help_LiuYan", nullptr, "给我留言", M::Help, false, nullptr, 0, false, false,
       A::Always, [](W& w) { w.OpenGuestbook(); }},
      {Command::About, "Menu_Help_about", nullptr, "关于", M::Help, true, nullptr, 0, false, false, A::Always,
       [](W& w) { w.ShowAbout(); }},
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
