#pragma once
// Small look helpers shared by the network dialogs.

#include <QFont>
#include <QString>

class QOVAButton;
class QOVALabel;
class QWidget;

namespace qovanet {

// The desktop's interface font at a size in points (one pixel each here).
QFont systemFontOfSize(int size);
// A black, right-aligned one-line row label.
QOVALabel *rowLabel(QWidget *parent, const QString &text, const QFont &font);

// A "Choose File" button: grey title, a 1-point grey border rounded at 2.
QOVAButton *chooseFileButton(QWidget *parent);
// The grey "No file chosen" label beside it.
QOVALabel *fileNameLabel(QWidget *parent);

} // namespace qovanet
