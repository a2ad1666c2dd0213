#pragma once
// Items of the network dialogs' pop-ups carry a tag and, where the shown
// title is translated, the fixed word that goes to the device. Choices are
// decided by tag or word, never by the translated title, so a dialog sends
// the same words in every language.

#include <QString>
#include <QStringList>

class QOVAPopUpButton;

namespace qovanet {

// Appends an item; wire empty means the title is what is sent.
// An item whose title is already present replaces it unless
// keepEqualTitles is set.
void addItem(QOVAPopUpButton *popup, const QString &title, int tag, const QString &wire = QString(),
             bool keepEqualTitles = false);
// Replaces the items by one per name, tagged by position, the first selected.
void fillItems(QOVAPopUpButton *popup, const QStringList &names);
// Gives an item a tag.
void setTag(QOVAPopUpButton *popup, int index, int tag);
// Gives an item the word sent for it.
void setWire(QOVAPopUpButton *popup, int index, const QString &wire);
// Tag of the selected item; -1 when nothing is selected.
int selectedTag(const QOVAPopUpButton *popup);
// Tag of an item; -1 when out of range.
int tagAt(const QOVAPopUpButton *popup, int index);
// Selects the first item with the tag; false when there is none.
bool selectTag(QOVAPopUpButton *popup, int tag);
// The word sent for the selected item: its wire word, or its title.
QString selectedWire(const QOVAPopUpButton *popup);
// Index of the first item with the tag, or -1.
int indexOfTag(const QOVAPopUpButton *popup, int tag);

// The fixed words sent for translated items.
inline QString wireNone() { return QStringLiteral("None"); }
inline QString wireDontValidate() { return QStringLiteral("Don't validate"); }

} // namespace qovanet
