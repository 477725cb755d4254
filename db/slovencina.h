#pragma once

#include <QString>
#include <QStringView>

// Slovak alphabetical order (A Á Ä B C Č D Ď ... H CH I ... S Š T Ť ... Z Ž), case-insensitive;
// texts equal in that order are told apart by case and then by code points, so the order is total.
int PorovnajSlovensky(QStringView a, QStringView b);

// Jet's Like: "*" any run of characters, "?" one character, "#" one digit, "[abc]", "[!abc]" and
// "[a-z]" character classes; every other character stands for itself; letters match without
// regard to case.
bool JetLike(QStringView pattern, QStringView value);
