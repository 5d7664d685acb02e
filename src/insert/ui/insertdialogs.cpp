#include "insert/ui/insertdialogs.h"

#include "insert/ui/tbodydial.h"
#include "insert/ui/tdatedial.h"
#include "insert/ui/tframedial.h"
#include "insert/ui/theaddial.h"
#include "insert/ui/timagedial.h"
#include "insert/ui/tlinkdial.h"
#include "insert/ui/tmetadial.h"
#include "insert/ui/tscriptdial.h"
#include "insert/ui/tstyledial.h"
#include "insert/ui/ttabledial.h"

#include <memory>

namespace {

InsertDialogs::Driver &driver()
{
    static InsertDialogs::Driver d;
    return d;
}

template <class D> std::unique_ptr<TInsertDial> make(const InsertTarget &target, QWidget *parent)
{
    return std::make_unique<D>(target, parent);
}

const struct
{
    const char *name;
    std::unique_ptr<TInsertDial> (*create)(const InsertTarget &, QWidget *);
} kDialogs[] = {
    { "TBodyDial", make<TBodyDial> },
    { "THeadDial", make<THeadDial> },
    { "TLinkDial", make<TLinkDial> },
    { "TImageDial", make<TImageDial> },
    { "TMetaDial", make<TMetaDial> },
    { "TDateDial", make<TDateDial> },
    { "TScriptDial", make<TScriptDial> },
    { "TStyleDial", make<TStyleDial> },
    { "TTableDial", make<TTableDial> },
    { "TFrameDial", make<TFrameDial> },
};

} // namespace

void InsertDialogs::setDriver(Driver d) { driver() = std::move(d); }

QStringList InsertDialogs::names()
{
    QStringList list;
    for (const auto &d : kDialogs)
        list << QString::fromLatin1(d.name);
    return list;
}

ResolvedInsertion InsertDialogs::run(const QString &dialogName, const InsertTarget &target, QWidget *parent)
{
    for (const auto &d : kDialogs) {
        if (dialogName != QLatin1String(d.name))
            continue;
        // Created on demand, released when it closes.
        const std::unique_ptr<TInsertDial> dialog = d.create(target, parent);
        if (driver())
            driver()(*dialog);
        else
            dialog->exec();
        return dialog->result() == QDialog::Accepted ? dialog->insertion() : ResolvedInsertion();
    }
    return ResolvedInsertion();
}
