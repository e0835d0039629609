#include "dialogs/ChineseInterface.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstring>

namespace {

// The standard buttons' texts, which Qt asks for in the context "QPlatformTheme". The program's
// questions show "是" and "否" without Qt's "(Y)" and "(N)"; the keys Y and N still answer them
// (DialogSeam::Ask).
class StandardButtonTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;
  QString translate(const char* context, const char* sourceText, const char*, int) const override {
    if (!context || !sourceText || std::strcmp(context, "QPlatformTheme") != 0) return {};
    static const struct {
      const char* english;
      const char* chinese;
    } kTexts[] = {{"&Yes", "是"}, {"&No", "否"}, {"Cancel", "取消"}, {"OK", "确定"}};
    for (const auto& t : kTexts)
      if (std::strcmp(sourceText, t.english) == 0) return QString::fromUtf8(t.chinese);
    return {};
  }
  bool isEmpty() const override { return false; }
};

}  // namespace

bool InstallChineseInterface() {
  // Both live as long as the application; the last one installed is asked first.
  auto* qtTexts = new QTranslator(QCoreApplication::instance());
  const bool found = qtTexts->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (found)
    QCoreApplication::installTranslator(qtTexts);
  else
    delete qtTexts;
  QCoreApplication::installTranslator(new StandardButtonTexts(QCoreApplication::instance()));
  return found;
}
