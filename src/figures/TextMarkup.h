#pragma once
#include <QString>
#include <vector>

// The markup of a label, as teachers type it: F_1, v_0^2, m/s^2, x_{max}, 10^{-3}, \vec F,
// \vec{AB}. Read left to right:
// - `_` makes what follows a subscript, `^` a superscript; what follows is one grapheme cluster,
//   a sign (+ - − and their full-width forms) with the digits after it (s^-1, 10^-3; `^-`
//   alone raises the minus only), or a `{...}` group. A subscript and a superscript in a row
//   stack on the same letter. Inside a group `_`, `^`, `{` and `\` are plain characters (scripts
//   do not nest).
// - `\vec`, optional spaces, then one grapheme cluster or a group: drawn with an arrow over it.
//   Any other `\word` is shown as typed.
// - A doubled special (`__`, `^^`, `{{`, `}}`, `\\`) is that one character. A `_` or `^` before a
//   space, another special (but `{`) or the end is shown as typed; so is a lone `}`. An unclosed
//   `{` runs to the end of the text as if closed, so a half-typed label already shows.
// - The full-width forms ＿ ＾ ｛ ｝ ＼ of Chinese punctuation mode are the same specials.
// - The superscript characters ⁰-⁹ ⁺ ⁻ and the subscript characters ₀-₉ are scripts too: ² is ^2,
//   ⁻¹ is ^{-1}, so that a typed ² and a marked-up 2 look the same. A script's minus is drawn as
//   a bar as wide as its digits (TextLayout.h).

// How a piece of a label is drawn.
enum class TextRole { Base, Superscript, Subscript };

struct MarkupPiece {
  QString text;                   // the characters to draw, markup taken away
  TextRole role = TextRole::Base;
  bool vector = false;            // drawn with a vector arrow over it
  bool operator==(const MarkupPiece&) const = default;
};

// The pieces of `text` in order. Neighbouring pieces of the same role without arrows are joined
// (x_1_2 gives the one subscript "12"); empty pieces are left out.
std::vector<MarkupPiece> ParseTextMarkup(const QString& text);
