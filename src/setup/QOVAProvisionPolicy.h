#pragma once
// The provisioning rules both provisioning pages follow (the set-up page and
// the device page): which modes and server types a product offers, how the
// device's settings fill the page, when the commit button is enabled and
// what is sent. Pop-up choices are told apart by their shown (localised)
// titles; the device's words are "Auto", "Manual", "Disable" for the mode
// and "cloud", "https", "ftps" for the server type.
//
//   QOVAProvisionPolicy policy(productId, firmwareVersion);
//   auto sent = policy.valuesToSend(modeTitle, typeTitle, address, user, password, dhcpText);

#include <QString>
#include <QStringList>

#include <optional>

class ProvisionModel;

class QOVAProvisionPolicy {
public:
    enum class Mode { Auto, Manual, Disable };

    QOVAProvisionPolicy(const QString &productID, const QString &firmwareVersion);

    // The video bar chooses its server type; other products always use an
    // HTTPS server.
    bool hasServerType() const { return m_productID == QLatin1String("6e17"); }
    // Firmware "V1.3" takes a DHCP option number in the automatic mode.
    bool hasDhcpOption() const { return m_firmwareVersion == QLatin1String("V1.3"); }

    // The mode pop-up of the set-up page (Auto only on the video bar), and
    // that of the device page.
    QStringList setupModeTitles() const;
    static QStringList deviceModeTitles();
    static QStringList serverTypeTitles();

    static QString autoTitle();
    static QString manualTitle();
    static QString disableTitle();

    // The title of a device's mode or server type; empty for a word the
    // device should not report.
    static QString titleForMode(const QString &mode);
    static QString titleForServerType(const QString &type);
    // The mode of a selected title (a title that is none of the three counts
    // as manual).
    static Mode modeForTitle(const QString &title);
    static QString modeWord(Mode mode);

    // What the device's settings put into the manual rows.
    struct ManualFill {
        QString serverTypeTitle;   // empty: nothing to put on top of the type list
        QString address;
        QString userName;
    };
    ManualFill manualFill(const ProvisionModel &model) const;

    // A DHCP option the device accepts: decimal digits only, 140 to 207.
    static std::optional<int> dhcpOption(const QString &text);

    // Whether Next or Save may commit what the page holds.
    bool commitEnabled(Mode mode, const QString &address, const QString &userName, const QString &password,
                       const QString &dhcpText) const;

    struct Values {
        QString url;
        QString userName;
        QString password;
        QString mode;
        QString type;
        // The DHCP option sent after the settings, when there is one.
        std::optional<int> dhcpOption;
    };
    Values valuesToSend(const QString &modeTitle, const QString &typeTitle, const QString &address,
                        const QString &userName, const QString &password, const QString &dhcpText) const;

private:
    QString m_productID;
    QString m_firmwareVersion;
};
