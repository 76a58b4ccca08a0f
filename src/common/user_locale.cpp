// The user's locale: decimal separator from the C library, identifier from a
// table of common locale names.
#include "common/user_locale.h"

#include <langinfo.h>
#include <locale.h>

#include <array>
#include <cstdlib>

#include "common/utf8.h"

namespace VardelCommon {
namespace {

constexpr std::uint32_t kDefaultLocaleId = 1033;

struct LocaleIdEntry {
    std::string_view name;
    std::uint32_t id;
};

// Within a language the first entry is the one a bare language name ("de")
// stands for.
constexpr std::array<LocaleIdEntry, 26> kLocaleIds{{
    {"en_US", 1033}, {"en_GB", 2057}, {"de_DE", 1031}, {"de_AT", 3079}, {"de_CH", 2055},
    {"fr_FR", 1036}, {"fr_CA", 3084}, {"fr_CH", 4108}, {"it_IT", 1040}, {"es_ES", 3082},
    {"pt_BR", 1046}, {"pt_PT", 2070}, {"nl_NL", 1043}, {"sv_SE", 1053}, {"da_DK", 1030},
    {"nb_NO", 1044}, {"fi_FI", 1035}, {"pl_PL", 1045}, {"cs_CZ", 1029}, {"hu_HU", 1038},
    {"ru_RU", 1049}, {"tr_TR", 1055}, {"ja_JP", 1041}, {"ko_KR", 1042}, {"zh_CN", 2052},
    {"zh_TW", 1028},
}};

// "de_DE.UTF-8@euro" -> "de_DE": the codeset and modifier do not change the
// identifier.
std::string_view StripCodesetAndModifier(std::string_view name) {
    return name.substr(0, name.find_first_of(".@"));
}

std::uint32_t LookUpLocaleId(std::string_view name) {
    const std::string_view base = StripCodesetAndModifier(name);
    for (const LocaleIdEntry& entry : kLocaleIds) {
        if (entry.name == base) {
            return entry.id;
        }
    }
    const std::string_view language = base.substr(0, base.find('_'));
    for (const LocaleIdEntry& entry : kLocaleIds) {
        if (entry.name.substr(0, entry.name.find('_')) == language) {
            return entry.id;
        }
    }
    return kDefaultLocaleId;
}

wchar_t LookUpDecimalSeparator(const std::string& name) {
    const locale_t locale = newlocale(LC_NUMERIC_MASK, name.c_str(), static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) {
        return L'.';
    }
    const std::wstring radix = FromUtf8(nl_langinfo_l(RADIXCHAR, locale));
    freelocale(locale);
    return radix.empty() ? L'.' : radix.front();
}

// The first non-empty of the variables that decide the numeric category.
std::string EnvironmentLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

}  // namespace

UserLocale DescribeLocale(std::string_view name) {
    UserLocale locale;
    // An empty name would make newlocale() consult the environment itself.
    locale.name = name.empty() ? "C" : std::string(name);
    locale.decimalSeparator = LookUpDecimalSeparator(locale.name);
    locale.localeId = LookUpLocaleId(locale.name);
    return locale;
}

const UserLocale& GetUserLocale() {
    static const UserLocale locale = DescribeLocale(EnvironmentLocaleName());
    return locale;
}

}  // namespace VardelCommon
