#pragma once
// The pale red banner of the status page: one underlined line of warning
// text and a small close button. The close button asks the delegate (the
// status page) to hide the banner; with no delegate it does nothing.

#include "QOVAStatusWarningViewDelegate.h"

#include <QPointer>
#include <QWidget>

class HyperlinkTextField;
class QOVAButton;

class QOVAStatusWarningView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAStatusWarningView(QWidget *parent = nullptr);

    HyperlinkTextField *tipLabel() const { return m_tipLabel; }
    QOVAButton *closeButton() const { return m_closeButton; }
    void setWarningViewDelegate(QOVAStatusWarningViewDelegate *delegate);
    // The support address the warning text links to (none: plain text).
    void setLinkAddress(const QString &address);

    // The banner's height for its text: the text's height plus 8 above and
    // 8 below.
    int bannerHeight() const;
    // The warning text shown.
    static QString warningText();

    void closeTipView();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupUI();
    void setTipText(const QString &address);

    HyperlinkTextField *m_tipLabel = nullptr;
    QOVAButton *m_closeButton = nullptr;
    QOVAStatusWarningViewDelegate *m_delegate = nullptr;
    QPointer<QObject> m_delegateGuard;
    bool m_guarded = false;
};
