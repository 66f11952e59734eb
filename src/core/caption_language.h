#pragma once

#include <QString>

#include <array>

namespace stokara::core {

// The caption-language flags, each "Y" or empty, in the order of
// Session::languageFlags: Hindi, Punjabi, the third language, English.
using LanguageFlags = std::array<QString, 4>;
enum LanguageFlag { kHindiFlag = 0, kPunjabiFlag = 1, kThirdLanguageFlag = 2, kEnglishFlag = 3 };

// The flags of a stored language number ("1" English, "2" Hindi, "3" the third
// language, "4" Punjabi); any other value sets none, which reads as English.
LanguageFlags languageFlagsFor(const QString& dairyLanguage);

} // namespace stokara::core
