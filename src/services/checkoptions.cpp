#include "services/checkoptions.h"

#include "base/settingstable.h"

namespace {
constexpr QStringView kGroup = u"Sprawdzanie";

const SettingsTable<ValidationOptions> &validationTable()
{
    using T = SettingsTable<ValidationOptions>;
    using O = ValidationOptions;
    static const T t({
        T::flag(kGroup, u"Bledy", &O::errors),
        T::flag(kGroup, u"Ostrzezenia", &O::warnings),
        T::flag(kGroup, u"Informacje", &O::info),
        T::number(kGroup, u"Dostepnosc", &O::accessLevel, 0, 3),
    });
    return t;
}

const SettingsTable<TidyFixOptions> &fixTable()
{
    using T = SettingsTable<TidyFixOptions>;
    using O = TidyFixOptions;
    static const T t({
        T::flag(kGroup, u"Wciecia", &O::indent),
        T::number(kGroup, u"WciecieSpacje", &O::indentSpaces, 1, O::MaxIndentSpaces),
        T::flag(kGroup, u"WielkieLitery", &O::upperCaseTags),
        T::number(kGroup, u"Zawijanie", &O::wrap, 0, O::MaxWrap),
    });
    return t;
}

const SettingsTable<CheckOptions> &table()
{
    using T = SettingsTable<CheckOptions>;
    using O = CheckOptions;
    static const T t = [] {
        std::vector<T::Row> rows = T::part(&O::validation, validationTable());
        for (T::Row &row : T::part(&O::fix, fixTable()))
            rows.push_back(std::move(row));
        rows.push_back(T::flag(kGroup, u"Pisownia", &O::spelling));
        rows.push_back(T::text(kGroup, u"DrugiSlownik", &O::secondDictionary));
        return T(std::move(rows));
    }();
    return t;
}
} // namespace

CheckOptions CheckOptions::read(const MarkoraSettings &settings) { return table().read(settings); }

void CheckOptions::write(MarkoraSettings &settings) const { table().write(settings, *this); }

bool CheckOptions::operator==(const CheckOptions &o) const { return table().equal(*this, o); }
