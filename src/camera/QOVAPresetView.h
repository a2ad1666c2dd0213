#pragma once
// The preset panels of the camera page: the two-preset panel and the Home
// plus four presets panel. The user picks a tile, then Select recalls that
// preset and Save stores the camera's position under it; the panel only
// reports the preset number to its delegate.

#include <QWidget>

#include <QList>

class QOVAButton;
class QOVAImageView;
class QOVALabel;

class QOVAPresetViewDelegate {
public:
    virtual ~QOVAPresetViewDelegate() = default;
    virtual void savePreset(quint64 index) = 0;
    virtual void restorePreset(quint64 index) = 0;
};
using QOVAPresetsViewDelegate = QOVAPresetViewDelegate;

// One preset tile: a rounded, filled rectangle with a title and a border
// that marks the picked tile.
class QOVAPresetTile : public QWidget {
    Q_OBJECT
public:
    QOVAPresetTile(int tag, const QString &title, QWidget *parent = nullptr);
    int tag() const { return m_tag; }
    QString title() const { return m_title; }
    void setTitle(const QString &title);
    int borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width);
    double alphaValue() const { return m_alpha; }
    void setAlphaValue(double alpha);

signals:
    void clicked(QOVAPresetTile *tile);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_tag;
    QString m_title;
    int m_borderWidth = 0;
    double m_alpha = 1.0;
};

class QOVAPresetPanelBase : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setDelegate(QOVAPresetViewDelegate *delegate) { m_delegate = delegate; }
    quint64 presetIndex() const { return m_presetIndex; }
    void setPresetIndex(quint64 index) { m_presetIndex = index; }
    QOVAButton *selectButton() const { return m_selectButton; }
    QOVAButton *saveButton() const { return m_saveButton; }
    QList<QOVAPresetTile *> tiles() const { return m_tiles; }
    QOVAPresetTile *tileWithTag(int tag) const;

    virtual void setCameraPresetEnable(bool enable);
    void clickSelectButton();
    virtual void clickSaveButton();

protected:
    void makeButtons(int cornerRadius);
    virtual void pick(QOVAPresetTile *tile);

    QOVAPresetViewDelegate *m_delegate = nullptr;
    quint64 m_presetIndex = 0;
    QList<QOVAPresetTile *> m_tiles;
    QOVAButton *m_selectButton = nullptr;
    QOVAButton *m_saveButton = nullptr;
};

// The Orbrin family's panel: presets 1 and 2.
class QOVAPresetView : public QOVAPresetPanelBase {
    Q_OBJECT
public:
    explicit QOVAPresetView(QWidget *parent = nullptr);
    void setCameraPresetEnable(bool enable) override;
    void clickSaveButton() override;
    void disableButtons();
    void enableButtons();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void pick(QOVAPresetTile *tile) override;

private:
    QOVAImageView *m_preset1ImageView = nullptr;
    QOVAImageView *m_preset2ImageView = nullptr;
};

// The Vasko family's panel: Home (0) and presets 1 to 4.
class QOVAPresetsView : public QOVAPresetPanelBase {
    Q_OBJECT
public:
    explicit QOVAPresetsView(QWidget *parent = nullptr);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QOVALabel *m_presetsTitleLabel = nullptr;
};
