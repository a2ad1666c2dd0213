#include "QOVANetworkPopUp.h"

#include "QOVAPopUpButton.h"

namespace qovanet {

namespace {
constexpr int kPopUpTagRole = Qt::UserRole + 40;
constexpr int kPopUpWireRole = Qt::UserRole + 41;
} // namespace

void addItem(QOVAPopUpButton *popup, const QString &title, int tag, const QString &wire, bool keepEqualTitles)
{
    if (keepEqualTitles)
        popup->addItem(title);
    else
        popup->addItemWithTitle(title);
    const int index = popup->count() - 1;
    popup->setItemData(index, tag, kPopUpTagRole);
    if (!wire.isNull())
        popup->setItemData(index, wire, kPopUpWireRole);
}

void setTag(QOVAPopUpButton *popup, int index, int tag)
{
    popup->setItemData(index, tag, kPopUpTagRole);
}

void setWire(QOVAPopUpButton *popup, int index, const QString &wire)
{
    popup->setItemData(index, wire, kPopUpWireRole);
}

void fillItems(QOVAPopUpButton *popup, const QStringList &names)
{
    popup->removeAllItems();
    for (int i = 0; i < names.size(); ++i)
        addItem(popup, names.at(i), i);
    popup->selectItemAtIndex(0);
}

int tagAt(const QOVAPopUpButton *popup, int index)
{
    if (index < 0 || index >= popup->count())
        return -1;
    const QVariant tag = popup->itemData(index, kPopUpTagRole);
    return tag.isValid() ? tag.toInt() : -1;
}

int selectedTag(const QOVAPopUpButton *popup)
{
    return tagAt(popup, popup->currentIndex());
}

int indexOfTag(const QOVAPopUpButton *popup, int tag)
{
    for (int i = 0; i < popup->count(); ++i) {
        if (tagAt(popup, i) == tag)
            return i;
    }
    return -1;
}

bool selectTag(QOVAPopUpButton *popup, int tag)
{
    const int index = indexOfTag(popup, tag);
    if (index < 0)
        return false;
    popup->selectItemAtIndex(index);
    return true;
}

QString selectedWire(const QOVAPopUpButton *popup)
{
    const int index = popup->currentIndex();
    if (index < 0)
        return QString();
    const QVariant wire = popup->itemData(index, kPopUpWireRole);
    return wire.isValid() ? wire.toString() : popup->itemText(index);
}

} // namespace qovanet
