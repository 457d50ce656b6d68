#pragma once
// The credits the splash shows and where its links lead.

#include <QString>

namespace parvex::splash_texts {

inline const QString Author = QStringLiteral("Parvex team");
inline const QString Author_Address = QStringLiteral("mailto:team@parvex.example.org");
inline const QString Author_Hint = QStringLiteral("Write to the Parvex team");
inline const QString Copyright = QStringLiteral("\u00A9 2002 - 2025 Parvex team and contributors");
inline const QString Copyright_Address =
    QStringLiteral("mailto:team@parvex.example.org?subject=Copyright");
inline const QString Copyright_Hint = QStringLiteral("Questions about the copyright");
inline const QString Home_Text = QStringLiteral("www.parvex.example.org");
inline const QString Home_Address = QStringLiteral("https://www.parvex.example.org/");
inline const QString Home_Hint = QStringLiteral("Open the home page in your web browser");
inline const QString Gif1_Hint = QStringLiteral("A source page, re-cased line by line");
inline const QString Gif2_Hint = QStringLiteral("One token in its four letter cases");

} // namespace parvex::splash_texts
