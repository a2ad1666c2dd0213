#pragma once
// The warning shown at launch while the conflicting conferencing client runs:
// a title, two paragraphs and two choices, quit the client (tag 101) or quit
// this application (tag 100). A child window of the main window, centred over
// it at its base size of 420 x 280; long texts make it taller (it grows
// upwards from the centred base position). No mask is laid over the page.

#include <QPointer>
#include <QSizeF>
#include <QWidget>

class QOVAButton;
class QOVALabel;
class QOVASFBWindowDelegate;

class QOVASFBWindow : public QWidget {
    Q_OBJECT
public:
    QOVASFBWindow(double width, double height);

    QSizeF windowSize() const { return m_windowSize; }
    bool defaultCenter() const { return m_defaultCenter; }
    void setDefaultCenter(bool centre) { m_defaultCenter = centre; }
    QWidget *parentView() const { return m_parentView; }
    void setWindowDelegate(QOVASFBWindowDelegate *delegate) { m_windowDelegate = delegate; }

    void show();
    // Hidden, and any page mask taken away.
    void orderOut();

    void closeSFB();
    void closeOrvaLinde();
    void delegateSenderTag(qint64 tag);

    // Height of the text in the paragraphs' font at their width of 350.
    static double caculateStringHeight(const QString &text);

    QOVALabel *warningLabel() const { return m_warningLabel; }
    QOVALabel *informationLabel() const { return m_informationLabel; }
    QOVALabel *informationLabel2() const { return m_informationLabel2; }
    QOVAButton *closeButton1() const { return m_closeButton1; }
    QOVAButton *closeButton2() const { return m_closeButton2; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void layoutContent();

    QSizeF m_windowSize;
    bool m_defaultCenter = true;
    QPointer<QWidget> m_parentView;
    QOVASFBWindowDelegate *m_windowDelegate = nullptr;
    QOVALabel *m_warningLabel = nullptr;
    QOVALabel *m_informationLabel = nullptr;
    QOVALabel *m_informationLabel2 = nullptr;
    QOVAButton *m_closeButton1 = nullptr;
    QOVAButton *m_closeButton2 = nullptr;
};
