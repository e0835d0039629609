// The Help menu: the program description, the about window and three addresses for the desktop.
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "Version.h"
#include "dialogs/DialogSeam.h"
#include "document/PictureFormats.h"
#include "workspace/ImageDraw.h"

namespace {

const char* kDescription = R"(
<h3>Quillmere 物理绘图</h3>
<p>为中学物理教师绘制练习题和试卷插图而设计。</p>
<h4>使用方法</h4>
<ol>
<li>在左侧的工具面板上选择图形工具（“作图”菜单或工具栏的“常用”“电磁”“立几”“综合”切换四组图形）。</li>
<li>在图像上按下鼠标左键拖动，图形随鼠标变化；松开鼠标，图形即画好。需要参数的工具（如圆角框、波形、方格纸、细杆）会弹出“请选择：”窗口，可随时修改数值。</li>
<li>用“选取范围”工具框选一块图像后，可以用鼠标拖动或用方向键移动（按住 Ctrl 拖动为复制），也可以翻转、旋转、复制、剪切和删除；右键单击选区弹出菜单。</li>
<li>文字工具：在图像上单击，在“打字工具栏：”中输入文字，可加入希腊字母、数学符号和常用单位，单击“确定”或按回车即印到图像上；换用别的工具时文字也会先印上；“取消”或 Esc 放弃这段文字。</li>
<li>按 T、L、A 键选用文字、直线、箭头工具，左侧正在用的工具面板保持不变，面板下方显示所选的工具。</li>
<li>“设定线型”和“设定闭合图形填充模式”选择虚线、点线、线宽和阴影线；“前景色”选择颜色；“辅助线”帮助对齐。</li>
<li>拖动图像右边、下边和右下角的小方块可改变图像大小。“取消”撤销一步，“重复”恢复。</li>
<li>可打开 %1 图片，保存为 %2 图片（96 dpi，插入文档时大小正确）。</li>
</ol>
<h4>版本历史</h4>
<ul>
<li>1.1.0：图形库：四组工具面板上的每个图形按钮都能作图，新增一百种图形（等腰三角形、单摆、小车、传送带、弹簧、滑轮，电路符号、开关、电表、磁场和电场线、变压器、电池，抛物线、双曲线、螺旋线、函数图像、立体图形、透镜，电梯、纸带、游标卡尺、汽车、各种姿势的人、弹簧秤）。关闭提问框不再当作“否”；界面按钮和对话框全部为中文；选区在切换窗口后保留；单击也能画出图形。</li>
<li>1.0.0：第一个版本。常用图形（选取、擦除、文字、任意线、直线、矩形、圆角框、椭圆、圆、正余弦波形、箭头、水平面与墙面、半轴坐标系、坐标系、刻度线、方格纸、细杆、正方形、斜面体、距离箭头、填充）；选区的移动、翻转与旋转；与其他程序复制粘贴；打开 BMP/JPEG，保存 BMP。</li>
</ul>
)";

}  // namespace

void ImageDraw::ShowProgramDescription() {
  auto* window = new QDialog(this);
  window->setObjectName("HelpWindow");
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(QStringLiteral("软件说明"));
  auto* layout = new QVBoxLayout(window);
  auto* text = new QTextBrowser(window);
  // The formats come from the picture-format table.
  text->setHtml(QString::fromUtf8(kDescription)
                    .arg(JoinedNames(ReadableFormatNames(), QStringLiteral("和")),
                         JoinedNames(WritableFormatNames(), QStringLiteral("或"))));
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
  connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);
  layout->addWidget(buttons);
  window->resize(520, 460);
  window->show();
}

void ImageDraw::ShowAbout() {
  Dialogs().Tell(this, QStringLiteral("关于"),
                 QStringLiteral("Quillmere 物理绘图\n版本 %1\n\n为中学物理教师绘制练习题和试卷插图。")
                     .arg(QStringLiteral(QM_VERSION)),
                 false);
}

void ImageDraw::OpenUpdatePage() { Dialogs().OpenUrl(QUrl(QStringLiteral(QM_UPDATE_URL))); }
void ImageDraw::OpenGuestbook() { Dialogs().OpenUrl(QUrl(QStringLiteral(QM_GUESTBOOK_URL))); }
void ImageDraw::OpenMailTo() { Dialogs().OpenUrl(QUrl(QStringLiteral("mailto:" QM_MAIL_ADDRESS))); }
