#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

class Prompt;

// Picture-mask number formatting and the small text utilities every printout and listing uses.
// None of them changes its arguments.

// Fills the digit positions "#" and "9" of the mask with x (see text_format.cpp for the rules).
QString FormatPicture(const QString &mask, double x);

QString RemoveSpaces(const QString &text);
QString RepeatChar(QChar c, int count);
QString PadRight(const QString &text, int width);
QString ZeroPadLeft(const QString &text, int width);
QString GroupThousands(const QString &text);
// Replaces the characters p .. p+len(t)-1 (1-based) of the line with t.
QString PutAt(const QString &line, int p, const QString &t);

// Nearest integer, halves away from zero.
double RoundHalfAway(double x);
// RoundHalfAway(x * 100) * 0.01 in extended precision.
double RoundTo2(double x);

// Converts the Polish letters of an 8-bit text between code pages;
// code = 10 * source column + target column (0 plain, 1 Mazovia, 2 CP852, 3 Windows-1250).
QByteArray ConvertPolishLetters(const QByteArray &text, int code);

// "Błąd otwarcia bazy : " + text, a plain message with an OK button.
void ShowOpenError(Prompt &prompt, const QString &text);
