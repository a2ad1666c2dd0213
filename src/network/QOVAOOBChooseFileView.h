#pragma once
// One row for choosing a file: a title at the left, a "Choose File" button
// that opens the file panel, and the chosen file's name. The row keeps the
// chosen path for its window to read (filePath); it reads nothing from the
// file. The row is 16 high; its title column is 178 wide.

#include <QPointer>
#include <QString>
#include <QWidget>

class QOVAButton;
class QOVALabel;

class QOVAOOBChooseFileView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAOOBChooseFileView(const QString &title, QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    // Full path of the chosen file; null until a file is chosen.
    QString filePath() const { return m_filePath; }

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVAButton *chooseButton() const { return m_chooseButton; }
    QOVALabel *fileLabel() const { return m_fileLabel; }

    // The button's action: asks the file panel; a confirmed choice replaces
    // the earlier one, a cancelled panel changes nothing.
    void openFileSelector();

    static constexpr int kRowHeight = 16;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutChooseView();

    QString m_title;
    QString m_filePath;
    QOVALabel *m_titleLabel = nullptr;
    QOVAButton *m_chooseButton = nullptr;
    QOVALabel *m_fileLabel = nullptr;
};
