#pragma once
// The enterprise (802.1X EAP) rows of the network camera's Wi-Fi join
// window: EAP method, phase-2 method, identities and, per method,
// certificate, key and PAC rows. Picking a method rearranges the rows and
// tells the window the height the rows now need (185, 55, 150 or 240) with
// the method's tag, so that it can make room. The sub-view sends nothing:
// the window reads the values (identity(), anonymousIdentity(), eapMethod(),
// eapMethodTag(), phase2()) when the user joins. Its password row belongs to
// the window, which labels it by the method tag (private-key password for
// TLS).

#include "menu/QOVAWeakDelegate.h"

#include <QStringList>
#include <QWidget>

class QOVAButton;
class QOVALabel;
class QOVAPopUpButton;
class QOVATextField;

class QOVAEAPDelegate {
public:
    virtual ~QOVAEAPDelegate() = default;
    // After every method pick: the height the sub-view needs and the tag of
    // the picked method.
    virtual void updateEAPViewLayoutHeight(quint64 height, quint64 controlTag) = 0;
};

class QOVAVaskoEAPView : public QWidget {
    Q_OBJECT
public:
    // Tags of the method items (their positions).
    enum Method { MethodPEAP = 0, MethodTTLS = 1, MethodPWD = 2, MethodTLS = 3, MethodFAST = 4, MethodMD5 = 5 };
    // Heights of the method layouts.
    static constexpr quint64 kHeightPEAP = 185;
    static constexpr quint64 kHeightIdentityOnly = 55;
    static constexpr quint64 kHeightTLS = 150;
    static constexpr quint64 kHeightFAST = 240;

    explicit QOVAVaskoEAPView(QWidget *parent = nullptr);

    void setEapViewUpdateLayoutdelegate(QOVAEAPDelegate *delegate) { m_delegate.set(delegate); }
    QOVAEAPDelegate *eapViewUpdateLayoutdelegate() const { return m_delegate.get(); }

    // What the window sends: the texts as typed, the method's title and tag,
    // and the phase-2 word ("None" for the no-method item, whatever the
    // language).
    QString identity() const;
    QString anonymousIdentity() const;
    QString eapMethod() const;
    int eapMethodTag() const;
    QString phase2() const;

    // The method items' action: lays the picked method out and reports its
    // height. Tags outside 0 to 5 do nothing.
    void selectMethodItem(int tag);
    // The choose-file buttons' action: does nothing.
    void chooseCertifiate();
    // New items, one per name, the first selected; items of the method
    // pop-up are tagged by position and lay their method out when picked.
    void decoratePopupButton(QOVAPopUpButton *popup, const QStringList &names);

    QOVALabel *methodLabel() const { return m_methodLabel; }
    QOVAPopUpButton *methodButton() const { return m_methodButton; }
    QOVALabel *authenLabel() const { return m_authenLabel; }
    QOVAPopUpButton *authenButton() const { return m_authenButton; }
    QOVALabel *certificateLabel() const { return m_rows[RowCA].label; }
    QOVAButton *certificateButton() const { return m_rows[RowCA].button; }
    QOVALabel *cerfificateFileLabel() const { return m_rows[RowCA].fileLabel; }
    QOVALabel *identifyLabel() const { return m_identifyLabel; }
    QOVATextField *identifyTextField() const { return m_identifyTextField; }
    QOVALabel *anonymousLabel() const { return m_anonymousLabel; }
    QOVATextField *anonymousTextField() const { return m_anonymousTextField; }
    // The rows made the first time a layout needs them (null before).
    QOVALabel *userCertificateLabel() const { return m_rows[RowUserCert].label; }
    QOVAButton *userCertificateButton() const { return m_rows[RowUserCert].button; }
    QOVALabel *userFileLabel() const { return m_rows[RowUserCert].fileLabel; }
    QOVALabel *privateKeyLabel() const { return m_rows[RowPrivateKey].label; }
    QOVAButton *privateKeyButton() const { return m_rows[RowPrivateKey].button; }
    QOVALabel *privateKeyFileLabel() const { return m_rows[RowPrivateKey].fileLabel; }
    QOVALabel *automaticPACProvisionLabel() const { return m_provisionLabel; }
    QOVAPopUpButton *automaticPACProvisionButton() const { return m_provisionButton; }
    QOVALabel *pacFileLabel() const { return m_rows[RowPacFile].label; }
    QOVAButton *pacFileButton() const { return m_rows[RowPacFile].button; }
    QOVALabel *pacFileButtonLabel() const { return m_rows[RowPacFile].fileLabel; }

private:
    enum Row { RowPhase2, RowCA, RowIdentity, RowAnonymous, RowUserCert, RowPrivateKey, RowProvision, RowPacFile,
               RowCount };
    struct RowViews {
        QOVALabel *label = nullptr;
        QOVAButton *button = nullptr;      // choose-file rows
        QOVALabel *fileLabel = nullptr;    // choose-file rows
        QWidget *control = nullptr;        // pop-up or field rows
    };

    QOVALabel *makeLabel(const QString &text);
    void makeRow(Row row);
    void showRows(const QList<Row> &rows);

    QOVAWeakDelegate<QOVAEAPDelegate> m_delegate;
    QOVALabel *m_methodLabel = nullptr;
    QOVAPopUpButton *m_methodButton = nullptr;
    QOVALabel *m_authenLabel = nullptr;
    QOVAPopUpButton *m_authenButton = nullptr;
    QOVALabel *m_identifyLabel = nullptr;
    QOVATextField *m_identifyTextField = nullptr;
    QOVALabel *m_anonymousLabel = nullptr;
    QOVATextField *m_anonymousTextField = nullptr;
    QOVALabel *m_provisionLabel = nullptr;
    QOVAPopUpButton *m_provisionButton = nullptr;
    RowViews m_rows[RowCount];
};
