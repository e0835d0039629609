#pragma once
#include <QString>

// How the value boxes of the tool windows read their text as a number.
//
// A number is: optional blanks, an optional sign, digits with an optional fraction ("2.5", ".5",
// "2."), optional blanks. No exponent: "1e3" is the number 1 followed by letters. A lone sign or
// point counts as a number still being typed (value 0), so "-" can grow into "-3" key by key.
// A run of digits too long to be finite (hundreds of digits) counts as no number at all, so no box
// ever yields infinity or NaN.
namespace NumberText {

// The value of the leading number of `text`; 0 when there is none.
double LeadingNumber(const QString& text);

// `text` itself when it is a number; otherwise the decimal text of its leading number ("3abc" ->
// "3", "-3x" -> "-3", "2.x" -> "2"), or "0" when it has none.
QString AsNumber(const QString& text);

}  // namespace NumberText
