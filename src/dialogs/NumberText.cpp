#include "dialogs/NumberText.h"

#include <cmath>

namespace {

struct NumberScan {
  bool whole = false;   // the text is a number, perhaps one being typed
  bool digits = false;  // a finite leading number with at least one digit was found
  QString leading;      // its text, without a '+' or a trailing point
  double value = 0;     // its value; 0 when there is none
};

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

NumberScan Scan(const QString& text) {
  NumberScan s;
  const int n = text.size();
  int i = 0;
  while (i < n && text[i].isSpace()) ++i;
  const int start = i;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
  int digitCount = 0;
  while (i < n && IsDigit(text[i])) ++i, ++digitCount;
  if (i < n && text[i] == u'.') {
    ++i;
    while (i < n && IsDigit(text[i])) ++i, ++digitCount;
  }
  const int end = i;
  while (i < n && text[i].isSpace()) ++i;
  s.whole = i == n && end > start;
  if (digitCount == 0) return s;
  QString leading = text.mid(start, end - start);
  bool ok = false;
  const double v = leading.toDouble(&ok);
  if (!ok || !std::isfinite(v)) {
    s.whole = false;
    return s;
  }
  s.digits = true;
  s.value = v;
  if (leading.startsWith(u'+')) leading.remove(0, 1);
  if (leading.endsWith(u'.')) leading.chop(1);
  s.leading = leading;
  return s;
}

}  // namespace

namespace NumberText {

double LeadingNumber(const QString& text) { return Scan(text).value; }

QString AsNumber(const QString& text) {
  const NumberScan s = Scan(text);
  if (s.whole) return text;
  return s.digits ? s.leading : QStringLiteral("0");
}

}  // namespace NumberText
