#include "QOVAWifiManageWindow.h"

#include "SavedSSIDInfoModel.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAScrollView.h"

#include <QIcon>
#include <QJsonArray>
#include <QPainter>
#include <QPushButton>
#include <QtMath>

namespace {

constexpr int kManageRowSpacing = 8;

} // namespace

// --- row ------------------------------------------------------------------------

QOVAWifiCell::QOVAWifiCell(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
    m_wifiImageView = new QOVAImageView(this);
    m_wifiImageView->setImageName(QStringLiteral("wifi_icon"));
    m_wifiImageView->setGeometry(10, 4, 16, 16);
    m_securityImageView = new QOVAImageView(this);
    m_securityImageView->setImageName(QStringLiteral("security"));
    m_securityImageView->setGeometry(10 + 16 + 4, 5, 14, 14);
    m_wifiNameLabel = new QOVALabel(this);
    m_wifiNameLabel->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
    m_wifiNameLabel->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    m_wifiNameLabel->setMaximumNumberOfLines(1);
    m_wifiNameLabel->setLineBreakMode(QOVALabel::ByTruncatingTail);
    m_wifiNameLabel->setGeometry(10 + 16 + 26, 3, 175, 18);
    m_deleteButton = new QPushButton(this);
    m_deleteButton->setFlat(true);
    m_deleteButton->setIcon(QIcon(QOVAImageView::imagePath(QStringLiteral("clear"))));
    m_deleteButton->setIconSize(QSize(16, 16));
    m_deleteButton->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"));
    m_deleteButton->hide();
    connect(m_deleteButton, &QPushButton::pressed, this, [this] {
        m_deleteButton->setIcon(QIcon(QOVAImageView::imagePath(QStringLiteral("clear_press"))));
    });
    connect(m_deleteButton, &QPushButton::released, this, [this] {
        m_deleteButton->setIcon(QIcon(QOVAImageView::imagePath(QStringLiteral("clear"))));
    });
    connect(m_deleteButton, &QPushButton::clicked, this, [this] { clickDeleteBtn(); });
}

void QOVAWifiCell::updateWithModel(const QOVAWifiModel &model)
{
    m_securityImageView->setVisible(model.isSecurity);
    m_wifiNameLabel->setStringValue(model.wifiName);
    if (model.isFolded)
        m_isSelected = false;
    update();
}

void QOVAWifiCell::clickDeleteBtn()
{
    if (m_delegate)
        m_delegate->forgetWifi(this);
}

void QOVAWifiCell::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    m_mouseInside = true;
    m_deleteButton->setGeometry(width() - 8 - 16, 4, 16, 16);
    m_deleteButton->show();
    update();
}

void QOVAWifiCell::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_mouseInside = false;
    if (!m_isSelected)
        m_deleteButton->hide();
    update();
}

void QOVAWifiCell::paintEvent(QPaintEvent *)
{
    if (!m_mouseInside && !m_isSelected)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colorWithString(QStringLiteral("d8d8d8"), 1.0));
    p.drawRoundedRect(rect(), 12, 12);
}

// --- window ---------------------------------------------------------------------

QOVAWifiManageWindow::QOVAWifiManageWindow(double width, double height)
    : QOVAWifiBaseWindow(width, height)
{
    setTitleText(qtTrId("STRING_MANAGE_KNOWN_NETWORKS"));
    m_tableContainer = new QOVAScrollView(contentView());
    m_tableContainer->setFrameShape(QFrame::NoFrame);
    m_tableContainer->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tableContainer->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_tableContainer->setWidgetResizable(false);
    m_wifiListView = new QWidget;
    m_wifiListView->setAutoFillBackground(true);
    QPalette palette = m_wifiListView->palette();
    palette.setColor(QPalette::Window, colorWithString(QStringLiteral("ededed"), 1.0));
    m_wifiListView->setPalette(palette);
    m_tableContainer->setWidget(m_wifiListView);

    m_okButton = new QOVAButton(contentView());
    m_okButton->setQovaButtonType(0);
    m_okButton->setTextFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_okButton->setTextColor(colorWithString(QStringLiteral("000000"), 0.85));
    m_okButton->setTextString(qtTrId("STRING_CLOSE"));
    formatButton(m_okButton, true, false);
    connect(m_okButton, &QOVAButton::clicked, this, [this] { closeWindow(); });
    placeViews();
    requestWiFiConnectedList();
}

void QOVAWifiManageWindow::placeViews()
{
    if (!m_tableContainer)
        return;
    m_tableContainer->setGeometry(144, 49, qMax(0, width() - 144 - 15), qMax(0, height() - 49 - 72));
    const int buttonWidth = qMax(67, qCeil(m_okButton->textLength()));
    m_okButton->setGeometry(width() - 33 - buttonWidth, qRound(height() - 25.5 - 19), buttonWidth, 19);
    reloadData();
}

void QOVAWifiManageWindow::resizeEvent(QResizeEvent *event)
{
    QOVAWifiBaseWindow::resizeEvent(event);
    placeViews();
}

void QOVAWifiManageWindow::requestWiFiConnectedList()
{
    if (QOVAWifiManageWindowDelegate *delegate = m_delegate.get())
        delegate->wifiManageWindow(this);
}

void QOVAWifiManageWindow::connectedWiFiInformation(const SavedSSIDInfoModel &model)
{
    QStringList names;
    for (const QJsonValue &value : model.saved_ssid_info)
        names << value.toString();
    setupData(names);
}

void QOVAWifiManageWindow::setupData(const QStringList &names)
{
    m_wifiModelList.clear();
    for (const QString &name : names) {
        QOVAWifiModel model;
        model.wifiName = name;
        m_wifiModelList << model;
    }
    reloadData();
}

void QOVAWifiManageWindow::reloadData()
{
    const int rowWidth = qMax(0, m_tableContainer->width() - 5);
    while (m_cells.size() > m_wifiModelList.size())
        delete m_cells.takeLast();
    while (m_cells.size() < m_wifiModelList.size()) {
        auto *cell = new QOVAWifiCell(m_wifiListView);
        cell->setDelegate(this);
        cell->show();
        m_cells << cell;
    }
    int top = 0;
    for (int i = 0; i < m_cells.size(); ++i) {
        m_cells[i]->setGeometry(0, top, rowWidth, QOVAWifiCell::kRowHeight);
        m_cells[i]->updateWithModel(m_wifiModelList.at(i));
        top += QOVAWifiCell::kRowHeight + kManageRowSpacing;
    }
    m_wifiListView->resize(rowWidth, qMax(top, m_tableContainer->height()));
}

void QOVAWifiManageWindow::closeWindow()
{
    orderOut();
}

void QOVAWifiManageWindow::forgetWifi(QOVAWifiCell *cell)
{
    const int row = int(m_cells.indexOf(cell));
    if (row < 0 || row >= m_wifiModelList.size())
        return;
    const QString name = m_wifiModelList.takeAt(row).wifiName;
    // The row goes at once; the cell is released after its click returns.
    m_cells.removeAt(row);
    cell->hide();
    cell->deleteLater();
    reloadData();
    if (QOVAWifiManageWindowDelegate *delegate = m_delegate.get())
        delegate->wifiManageDeleteWindow(this, QJsonObject{{QStringLiteral("ssid"), name}});
}
