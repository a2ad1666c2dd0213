// The EAP rows the join-other-network windows embed: the network camera's
// (rows and reported height per method) and the video bar's (rows, password
// report and installed certificates).

#include "NetworkTestSupport.h"

#include "QOVAEAPView.h"
#include "QOVAVaskoEAPView.h"

#include "CertInfo.h"
#include "QOVALabel.h"
#include "QOVATextField.h"

using namespace nettest;

namespace {

class HeightRecorder : public QOVAEAPDelegate {
public:
    QList<QPair<quint64, quint64>> reports;
    void updateEAPViewLayoutHeight(quint64 height, quint64 tag) override { reports.append({height, tag}); }
};

class PasswordRecorder : public QOVAEAPViewDelegate {
public:
    int identityChanges = 0;
    QList<bool> hidden;
    void changeIdentify() override { ++identityChanges; }
    void hiddenPasswordView(bool hide) override { hidden << hide; }
};

// Labels of the shown rows, top to bottom.
QStringList shownRows(QWidget *view, const QList<QOVALabel *> &labels)
{
    QList<QOVALabel *> shown;
    for (QOVALabel *label : labels) {
        if (label && label->isVisibleTo(view))
            shown << label;
    }
    std::sort(shown.begin(), shown.end(), [](QOVALabel *a, QOVALabel *b) { return a->y() < b->y(); });
    QStringList texts;
    for (QOVALabel *label : shown)
        texts << label->stringValue();
    return texts;
}

CertInfo certificates(const QStringList &types)
{
    CertInfo info;
    for (const QString &type : types) {
        auto entry = std::make_shared<CertInfoModel>();
        entry->type = type;
        entry->issueTo = QStringLiteral("<b>device</b>");
        info.info.append(entry);
    }
    return info;
}

QStringList tr(std::initializer_list<const char *> keys)
{
    QStringList texts;
    for (const char *key : keys)
        texts << qtTrId(key);
    return texts;
}

} // namespace

TEST(VaskoEAPView, EachMethodShowsItsRowsAndReportsItsHeight)
{
    shelltest::bus();   // the English texts
    QOVAVaskoEAPView view;
    HeightRecorder recorder;
    view.setEapViewUpdateLayoutdelegate(&recorder);
    view.show();
    auto rows = [&] {
        return shownRows(&view, {view.methodLabel(), view.authenLabel(), view.certificateLabel(), view.identifyLabel(),
                                 view.anonymousLabel(), view.userCertificateLabel(), view.privateKeyLabel(),
                                 view.automaticPACProvisionLabel(), view.pacFileLabel()});
    };
    // At creation: PEAP, the no-method phase 2, nothing reported.
    EXPECT_EQ(view.eapMethod(), QStringLiteral("PEAP"));
    EXPECT_EQ(view.authenButton()->currentText(), qtTrId("STRING_NONE"));
    EXPECT_EQ(view.phase2(), QStringLiteral("None"));
    EXPECT_TRUE(view.identity().isEmpty());
    EXPECT_EQ(rows(), tr({"STRING_EAP_METHOD", "STRING_PHASE2", "STRING_CA_CERTIFICATE", "STRING_IDENTIFY",
                          "STRING_ANONYMOUS_IDENTIFY"}));
    EXPECT_TRUE(recorder.reports.isEmpty());

    const struct {
        const char *method;
        quint64 height;
        quint64 tag;
        QStringList rows;
    } cases[] = {
        {"TLS", 150, 3, tr({"STRING_EAP_METHOD", "STRING_CA_CERTIFICATE", "STRING_IDENTIFY", "STRING_USER_CERTIFICATE",
                            "STRING_PRIVATE_KEY"})},
        {"PWD", 55, 2, tr({"STRING_EAP_METHOD", "STRING_IDENTIFY"})},
        {"MD5", 55, 5, tr({"STRING_EAP_METHOD", "STRING_IDENTIFY"})},
        {"TTLS", 185, 1, tr({"STRING_EAP_METHOD", "STRING_PHASE2", "STRING_CA_CERTIFICATE", "STRING_IDENTIFY",
                             "STRING_ANONYMOUS_IDENTIFY"})},
        {"FAST", 240, 4, tr({"STRING_EAP_METHOD", "STRING_PHASE2", "STRING_AUTO_PAC_PROVISIONING", "STRING_PAC_FILE",
                             "STRING_IDENTIFY", "STRING_ANONYMOUS_IDENTIFY"})},
        {"PEAP", 185, 0, tr({"STRING_EAP_METHOD", "STRING_PHASE2", "STRING_CA_CERTIFICATE", "STRING_IDENTIFY",
                             "STRING_ANONYMOUS_IDENTIFY"})},
        {"PEAP", 185, 0, tr({"STRING_EAP_METHOD", "STRING_PHASE2", "STRING_CA_CERTIFICATE", "STRING_IDENTIFY",
                             "STRING_ANONYMOUS_IDENTIFY"})},
    };
    for (const auto &c : cases) {
        recorder.reports.clear();
        pick(view.methodButton(), QString::fromLatin1(c.method));
        ASSERT_EQ(recorder.reports.size(), 1) << c.method;
        EXPECT_EQ(recorder.reports.first(), qMakePair(c.height, c.tag)) << c.method;
        EXPECT_EQ(rows(), c.rows) << c.method;
        EXPECT_EQ(view.eapMethodTag(), int(c.tag));
        // Every row fits in the height the window makes for it.
        view.resize(view.width(), int(c.height));
        for (QWidget *child : view.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisibleTo(&view)) {
                EXPECT_LE(child->geometry().bottom(), int(c.height)) << c.method;
            }
        }
        shelltest::shot(&view, QStringLiteral("vasko_eap_%1").arg(QString::fromLatin1(c.method)));
    }

    // Phase-2 and provisioning picks and the choose-file buttons change no row.
    recorder.reports.clear();
    pick(view.authenButton(), QStringLiteral("GTC"));
    EXPECT_EQ(view.phase2(), QStringLiteral("GTC"));
    EXPECT_EQ(view.authenButton()->count(), 4);
    click(view.certificateButton());
    EXPECT_EQ(view.cerfificateFileLabel()->stringValue(), qtTrId("STRING_NO_FILE_CHOSEN"));
    EXPECT_TRUE(recorder.reports.isEmpty());
}

TEST(OrbrinEAPView, MethodsShowTheirRowsAndTellTheWindowAboutThePassword)
{
    shelltest::bus();   // the English texts
    QOVAEAPView view;
    PasswordRecorder recorder;
    view.setEapViewDelegate(&recorder);
    view.show();
    auto rows = [&] {
        return shownRows(&view, {view.methodLabel(), view.authenLabel(), view.certificateLabel(),
                                 view.userCertificateLabel(), view.identifyLabel(), view.anonymousLabel()});
    };
    EXPECT_EQ(rows(), tr({"STRING_EAP_METHOD", "STRING_PHASE2", "STRING_CA_CERTIFICATE", "STRING_IDENTIFY",
                          "STRING_ANONYMOUS_IDENTIFY"}));
    EXPECT_EQ(view.authenButton()->itemTitles(), (QStringList{qtTrId("STRING_NONE"), "MSCHAPV2", "GTC"}));
    EXPECT_EQ(view.certificateButton()->count(), 1);
    EXPECT_EQ(view.userCertificateLabel(), nullptr);
    shelltest::shot(&view, QStringLiteral("orbrin_eap_PEAP"));

    const struct {
        const char *method;
        QStringList rows;
        bool hidesPassword;
        int phase2Items;
    } cases[] = {
        {"TLS", tr({"STRING_EAP_METHOD", "STRING_CA_CERTIFICATE", "STRING_USER_CERTIFICATE", "STRING_IDENTIFY"}), true, 5},
        {"PWD", tr({"STRING_EAP_METHOD", "STRING_IDENTIFY"}), false, 5},
        {"TTLS", tr({"STRING_EAP_METHOD", "STRING_PHASE2", "STRING_CA_CERTIFICATE", "STRING_IDENTIFY",
                     "STRING_ANONYMOUS_IDENTIFY"}), false, 5},
        {"PEAP", tr({"STRING_EAP_METHOD", "STRING_PHASE2", "STRING_CA_CERTIFICATE", "STRING_IDENTIFY",
                     "STRING_ANONYMOUS_IDENTIFY"}), false, 3},
    };
    for (const auto &c : cases) {
        pick(view.authenButton(), QStringLiteral("GTC"));
        recorder.hidden.clear();
        pick(view.methodButton(), QString::fromLatin1(c.method));
        EXPECT_EQ(rows(), c.rows) << c.method;
        EXPECT_EQ(recorder.hidden, QList<bool>{c.hidesPassword}) << c.method;
        EXPECT_EQ(view.authenButton()->count(), c.phase2Items) << c.method;
        EXPECT_EQ(view.authenButton()->currentIndex(), 0) << c.method;
        EXPECT_EQ(view.phase2(), QStringLiteral("None"));
        // The sub-view ends 2 below its last row.
        int bottom = 0;
        for (QOVALabel *label : view.findChildren<QOVALabel *>()) {
            if (label->isVisibleTo(&view))
                bottom = qMax(bottom, label->geometry().bottom() + 1);
        }
        EXPECT_EQ(view.height(), bottom + 2) << c.method;
        shelltest::shot(&view, QStringLiteral("orbrin_eap_%1").arg(QString::fromLatin1(c.method)));
    }

    // Identity edits are reported one by one; the anonymous identity's are not.
    type(view.identifyTextField(), "abc");
    type(view.anonymousTextField(), "xy");
    EXPECT_EQ(recorder.identityChanges, 3);
}

TEST(OrbrinEAPView, InstalledCertificatesAreAppendedPerReply)
{
    shelltest::bus();   // the English texts
    QOVAEAPView view;
    view.updateEapViewCertificateInfo(certificates({"wifiCaCert", "provisionClient"}));
    view.updateEapViewCertificateInfo(certificates({"wifiCaCert", "wifiClientCert"}));
    EXPECT_EQ(view.certificateButton()->itemTitles(),
              tr({"STRING_DONOT_VALIDATE", "STRING_INSTALLED_CA_CERTIFICATE", "STRING_INSTALLED_CA_CERTIFICATE"}));
    EXPECT_EQ(view.certificateButton()->currentIndex(), 0);
    EXPECT_EQ(view.caCert(), QString(""));
    // A user certificate reported under PEAP gets its item, not its row.
    ASSERT_NE(view.userCertificatePopupButton(), nullptr);
    EXPECT_EQ(view.userCertificatePopupButton()->count(), 2);
    EXPECT_FALSE(view.userCertificateLabel()->isVisibleTo(&view));

    view.certificateButton()->setCurrentIndex(2);
    view.userCertificatePopupButton()->setCurrentIndex(1);
    EXPECT_EQ(view.caCert(), QStringLiteral("orbrin_wifi"));
    EXPECT_EQ(view.clientCert(), QStringLiteral("orbrin_wifi"));
}
