#include "caption_language.h"

namespace stokara::core {

LanguageFlags languageFlagsFor(const QString& dairyLanguage) {
    LanguageFlags flags;
    const QString language = dairyLanguage.trimmed();
    const QString yes = QStringLiteral("Y");
    if (language == QLatin1String("2"))
        flags[kHindiFlag] = yes;
    else if (language == QLatin1String("4"))
        flags[kPunjabiFlag] = yes;
    else if (language == QLatin1String("1"))
        flags[kEnglishFlag] = yes;
    else if (language == QLatin1String("3"))
        flags[kThirdLanguageFlag] = yes;
    return flags;
}

} // namespace stokara::core
