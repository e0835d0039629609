// What the package, the AppStream metainfo, the desktop entry and the README say the program opens
// and saves is what the picture-format table reads and writes. The first three are made from the
// table when the program is built (packaging/FormatTexts.cpp): this checks them as built; the
// README is written by hand and fails here until it says what a changed table does.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <string>

#include "document/PictureFormats.h"

namespace {

QString ReadText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

// "BMP", "BMP and PNG", "BMP, JPEG and PNG" (with `conjunction` for "and").
QString EnglishList(const QStringList& names, const QString& conjunction) {
  if (names.size() < 2) return names.join(QString());
  return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + ' ' + conjunction + ' ' + names.last();
}

// The long description the Debian package is built with, as the file CPack reads when it runs
// holds it (a CMake string: \" and \\ escaped).
QString PackageDescription() {
  const QString config = ReadText(QStringLiteral(QM_BINARY_DIR "/packaging/CPackFormatTexts.cmake"));
  const QString start = QStringLiteral("set(CPACK_DEBIAN_PACKAGE_DESCRIPTION \"");
  const qsizetype from = config.indexOf(start);
  if (from < 0) return {};
  QString text;
  for (qsizetype i = from + start.size(); i < config.size() && config[i] != '"'; ++i) {
    if (config[i] == '\\' && i + 1 < config.size()) ++i;
    text += config[i];
  }
  return text;
}

// A set of names in order, joined for a message: "image/bmp image/jpeg image/png".
std::string Listed(QStringList names) {
  names.sort();
  names.removeDuplicates();
  return names.join(' ').toStdString();
}

// The values of every `<tag>` element of an XML text.
std::string XmlValues(const QString& xml, const QString& tag) {
  QStringList values;
  const QRegularExpression element(QStringLiteral("<%1>([^<]*)</%1>").arg(tag));
  for (const auto& m : element.globalMatch(xml)) values << m.captured(1).trimmed();
  return Listed(values);
}

// The items of a desktop entry's `key=` list.
std::string DesktopList(const QString& entry, const QString& key) {
  const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(key), QRegularExpression::MultilineOption);
  return Listed(line.match(entry).captured(1).split(';', Qt::SkipEmptyParts));
}

TEST(PackageTexts, SayWhatTheFormatTableOpensAndSaves) {
  const QStringList opens = ReadableFormatNames(), saves = WritableFormatNames();
  ASSERT_FALSE(opens.isEmpty());
  ASSERT_FALSE(saves.isEmpty());
  // The sentences every text carries, from the table: "opens BMP, JPEG and PNG pictures",
  // "saves BMP or PNG"; in Chinese "打开 BMP、JPEG 和 PNG 图片", "保存为 BMP 或 PNG".
  // A list does not go on past its last name.
  const QString english = QStringLiteral("\\bopens? %1 pictures\\b.*\\bsaves? %2\\b(?!,| or | and )")
                              .arg(QRegularExpression::escape(EnglishList(opens, "and")),
                                   QRegularExpression::escape(EnglishList(saves, "or")));
  const QString chinese = QStringLiteral("打开 %1 图片.*保存为 %2(?!、| 或 | 和 )")
                              .arg(QRegularExpression::escape(JoinedNames(opens, "和")),
                                   QRegularExpression::escape(JoinedNames(saves, "或")));
  const QString metainfo = ReadText(QStringLiteral(QM_BINARY_DIR "/packaging/org.quillmere.Quillmere.metainfo.xml"));
  const QString readme = ReadText(QStringLiteral(QM_SOURCE_DIR "/README.md"));
  struct Text {
    const char* what;
    QString text;
    QStringList sentences;
  };
  const Text texts[] = {
      {"the package's description", PackageDescription(), {english}},
      {"the metainfo", metainfo, {english, chinese}},
      {"the README", readme, {english, chinese}},
  };
  for (const Text& t : texts) {
    ASSERT_FALSE(t.text.isEmpty()) << t.what << " was not found";
    // Line breaks and indentation are no part of a sentence.
    const QString flowing = t.text.simplified();
    for (const QString& sentence : t.sentences)
      EXPECT_TRUE(flowing.contains(QRegularExpression(sentence, QRegularExpression::CaseInsensitiveOption)))
          << t.what << " does not say /" << sentence.toStdString() << "/";
  }
  // "Open with": the media types the metainfo and the desktop entry offer are the ones read, each
  // once, and the desktop entry's list ends with its separator.
  const std::string read = Listed(ReadableMimeTypes());
  EXPECT_EQ(XmlValues(metainfo, "mediatype"), read) << "the metainfo's media types";
  EXPECT_EQ(metainfo.count(QStringLiteral("<mediatype>")), ReadableMimeTypes().size());
  const QString desktop = ReadText(QStringLiteral(QM_BINARY_DIR "/packaging/org.quillmere.Quillmere.desktop"));
  EXPECT_EQ(DesktopList(desktop, "MimeType"), read) << "the desktop entry's MimeType";
  const QRegularExpression mimeLine(QStringLiteral("^MimeType=(.*;)$"), QRegularExpression::MultilineOption);
  EXPECT_EQ(mimeLine.match(desktop).captured(1).count(';'), ReadableMimeTypes().size());
}

}  // namespace
