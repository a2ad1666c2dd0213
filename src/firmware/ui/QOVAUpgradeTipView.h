#pragma once
// The banner across the top of the firmware page that asks the user to
// update the application itself, with a link to the support page. The user
// can close it.

#include <QWidget>

class HyperlinkTextField;
class QAbstractButton;

class QOVAUpgradeTipViewDelegate {
public:
    virtual ~QOVAUpgradeTipViewDelegate() = default;
    virtual void closeUpgradeTipView() {}
};

class QOVAUpgradeTipView : public QWidget {
    Q_OBJECT
public:
    // The support page the banner links to.
    static const char *const kSupportUrl;

    explicit QOVAUpgradeTipView(QWidget *parent = nullptr);

    void setTipViewDelegate(QOVAUpgradeTipViewDelegate *delegate) { m_delegate = delegate; }
    // The close button's action: off the page, then the delegate is told.
    void closeTipView();

    HyperlinkTextField *tipLabel() const { return m_tipLabel; }
    QAbstractButton *closeButton() const { return m_closeButton; }
    // Its height for the page's width (text height plus the margins).
    int preferredHeight() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QOVAUpgradeTipViewDelegate *m_delegate = nullptr;
    HyperlinkTextField *m_tipLabel = nullptr;
    QAbstractButton *m_closeButton = nullptr;
};
