#include "figures/TextMarkup.h"

#include <QTextBoundaryFinder>

namespace {

// The special a character stands for ('_', '^', '{', '}' or '\\'), its full-width form included;
// 0 for any other character.
char16_t Special(QChar c) {
  switch (c.unicode()) {
    case u'_': case u'＿': return u'_';
    case u'^': case u'＾': return u'^';
    case u'{': case u'｛': return u'{';
    case u'}': case u'｝': return u'}';
    case u'\\': case u'＼': return u'\\';
    default: return 0;
  }
}

// The plain character of a superscript (⁰-⁹ ⁺ ⁻) or subscript (₀-₉) character, and its role; 0
// for any other character.
char16_t ScriptCharacter(QChar c, TextRole* role) {
  const char16_t u = c.unicode();
  *role = TextRole::Superscript;
  switch (u) {
    case u'⁰': return u'0';
    case u'¹': return u'1';
    case u'²': return u'2';
    case u'³': return u'3';
    case u'⁺': return u'+';
    case u'⁻': return u'-';
    default: break;
  }
  if (u >= u'⁴' && u <= u'⁹') return static_cast<char16_t>(u'4' + (u - u'⁴'));
  *role = TextRole::Subscript;
  if (u >= u'₀' && u <= u'₉') return static_cast<char16_t>(u'0' + (u - u'₀'));
  *role = TextRole::Base;
  return 0;
}

class MarkupReader {
 public:
  explicit MarkupReader(const QString& text) : text_(text), n_(text.size()) {}

  std::vector<MarkupPiece> Read() {
    qsizetype p = 0;
    while (p < n_) p = Step(p);
    return std::move(pieces_);
  }

 private:
  // Reads what starts at p; returns where the next part starts.
  qsizetype Step(qsizetype p) {
    const QChar c = text_[p];
    const char16_t special = Special(c);
    if (special && p + 1 < n_ && Special(text_[p + 1]) == special) {  // doubled: one literal
      Add(QString(c), TextRole::Base);
      return p + 2;
    }
    switch (special) {
      case u'_':
      case u'^': return Script(p, special == u'^' ? TextRole::Superscript : TextRole::Subscript);
      case u'{': {
        QString group;
        const qsizetype next = Group(p, TextRole::Base, &group);
        Add(group, TextRole::Base);
        return next;
      }
      case u'\\': return Command(p);
      case u'}':  // a lone closing brace
      case 0:
      default: break;
    }
    TextRole role;
    if (const char16_t plain = ScriptCharacter(c, &role); plain && NextCluster(p) == p + 1) {
      Add(QString(QChar(plain)), role);
      return p + 1;
    }
    const qsizetype next = NextCluster(p);
    Add(text_.mid(p, next - p), TextRole::Base);
    return next;
  }

  // `_` or `^` at p.
  qsizetype Script(qsizetype p, TextRole role) {
    const qsizetype q = p + 1;
    const char16_t after = q < n_ ? Special(text_[q]) : 0;
    if (q >= n_ || text_[q].isSpace() || (after && after != u'{')) {
      Add(QString(text_[p]), TextRole::Base);
      return q;
    }
    if (after == u'{') {
      QString group;
      const qsizetype next = Group(q, role, &group);
      Add(group, role);
      return next;
    }
    // A sign and its digits are one script (s^-1, 10^-3), as a teacher writes an exponent.
    if (IsSign(text_[q]) && q + 1 < n_ && IsDigit(text_[q + 1])) {
      qsizetype next = q + 2;
      while (next < n_ && IsDigit(text_[next])) ++next;
      Add(text_.mid(q, next - q), role);
      return next;
    }
    const qsizetype next = NextCluster(q);
    QString cluster = text_.mid(q, next - q);
    if (cluster.size() == 1) cluster = InGroup(cluster[0], role);
    Add(cluster, role);
    return next;
  }

  // A plus or minus sign, full-width forms and the minus sign included.
  static bool IsSign(QChar c) {
    const char16_t u = c.unicode();
    return u == u'+' || u == u'-' || u == u'\u2212' || u == u'\uFF0B' || u == u'\uFF0D';
  }
  // A decimal digit, full-width forms included.
  static bool IsDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'\uFF10' && u <= u'\uFF19');
  }

  // `\` at p: `\vec` and its argument, or a backslash shown as typed.
  qsizetype Command(qsizetype p) {
    const qsizetype word = p + 1;
    const bool vec = text_.mid(word, 3) == QLatin1String("vec") && (word + 3 >= n_ || !text_[word + 3].isLetter());
    if (!vec) {
      Add(QString(text_[p]), TextRole::Base);
      return p + 1;
    }
    qsizetype r = word + 3;
    while (r < n_ && text_[r].isSpace()) ++r;
    const char16_t after = r < n_ ? Special(text_[r]) : 0;
    if (r >= n_ || (after && after != u'{')) {
      // Nothing to put an arrow over: the command shows as typed.
      Add(text_.mid(p, r - p), TextRole::Base);
      return r;
    }
    QString letters;
    qsizetype next;
    if (after == u'{') {
      next = Group(r, TextRole::Base, &letters);
    } else {
      next = NextCluster(r);
      letters = text_.mid(r, next - r);
    }
    if (!letters.isEmpty()) pieces_.push_back({letters, TextRole::Base, true});
    return next;
  }

  // The group whose `{` is at p, read into *content; returns where the text goes on after its
  // `}` (the end of the text when it is not closed).
  qsizetype Group(qsizetype p, TextRole role, QString* content) {
    qsizetype q = p + 1;
    while (q < n_) {
      const char16_t special = Special(text_[q]);
      if (special && q + 1 < n_ && Special(text_[q + 1]) == special) {
        *content += text_[q];
        q += 2;
        continue;
      }
      if (special == u'}') return q + 1;
      *content += InGroup(text_[q], role);
      ++q;
    }
    return n_;
  }

  // A character inside a script of `role`: a script character of the same role is its plain
  // character (^{⁻¹} is ^{-1}); everything else stays as typed.
  static QString InGroup(QChar c, TextRole role) {
    TextRole own;
    const char16_t plain = ScriptCharacter(c, &own);
    return QString(plain && own == role && role != TextRole::Base ? QChar(plain) : c);
  }

  qsizetype NextCluster(qsizetype p) {
    finder_.setPosition(p);
    const qsizetype next = finder_.toNextBoundary();
    return next > p ? next : p + 1;
  }

  void Add(const QString& text, TextRole role) {
    if (text.isEmpty()) return;
    if (!pieces_.empty() && pieces_.back().role == role && !pieces_.back().vector) {
      pieces_.back().text += text;
      return;
    }
    pieces_.push_back({text, role, false});
  }

  const QString& text_;
  const qsizetype n_;
  QTextBoundaryFinder finder_{QTextBoundaryFinder::Grapheme, text_};
  std::vector<MarkupPiece> pieces_;
};

}  // namespace

std::vector<MarkupPiece> ParseTextMarkup(const QString& text) { return MarkupReader(text).Read(); }
