#pragma once

#include "insert/commandtable.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// What the link and image dialogs write (see pagemarkup.h for the common habits).

enum class LinkKind { Address, Mail, Anchor };

struct LinkFields
{
    LinkKind kind = LinkKind::Address;
    QString address; // an address, an e-mail address or an anchor's name, by kind
    QString text; // written after the opening tag; the dialog leaves it empty over a selection
    QString title; // TITLE
    QString target; // TARGET: "_blank", a frame's name...

    bool operator==(const LinkFields &o) const;
};
// The HREF of a link: the address as it is, "mailto:" + the e-mail address (unless it
// starts so), "#" + the anchor's name (a leading '#' taken as written, blanks and other
// characters a fragment may not hold percent-encoded).
QString LinkHref(LinkKind kind, QStringView address);
// Pair: "<A HREF=\"...\" ...>" + the text, "</A>".
ResolvedInsertion BuildLink(const LinkFields &f);
// The targets the dialog offers besides frame names.
QStringList LinkTargets();

struct ImageFields
{
    QString source; // SRC: an address
    QString alt; // ALT
    bool decorative = false; // ALT="" on purpose: the picture needs no description
    int width = -1; // -1 = not written
    int height = -1;
    int border = -1;
    QString align; // "Left", "Right", "Top", "Middle", "Bottom" or empty

    bool operator==(const ImageFields &o) const;
};
// Pair, no closing: "<IMG SRC=\"...\" ALT=\"...\" ...>". ALT is written when given, and
// empty for a decorative picture (whose text, if any, is then not written).
ResolvedInsertion BuildImage(const ImageFields &f);
// The alignments the image dialog offers, the empty one (not written) first.
QStringList ImageAlignments();
