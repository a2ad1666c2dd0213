#pragma once
// A small read-only dialog listing the rules a network camera applies to its
// device name: a title, five rule lines and Close. It opens over the main
// window like every dialog (centred, page dimmed) and has no delegate; each
// opener makes a new one and keeps no reference to it.
//
//   auto *window = new QOVANameRuleWindow(420, 210);
//   window->show();            // deletes itself once closed

#include "QOVAWindow.h"

#include <QPointer>
#include <QRectF>

class QOVAButton;
class QOVALabel;

class QOVANameRuleWindow : public QOVAWindow {
    Q_OBJECT
public:
    QOVANameRuleWindow(double width, double height);

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVALabel *describeLabel() const { return m_describeLabel; }
    QOVAButton *closeButton() const { return m_closeButton; }

    // The five rule lines joined by line feeds, in the order shown.
    static QString ruleText();

    // Close's action: the page mask goes, then the window.
    void closeWindow();

private:
    void setupUI();

    QPointer<QOVALabel> m_titleLabel;
    QPointer<QOVALabel> m_describeLabel;
    QPointer<QOVAButton> m_closeButton;
};
