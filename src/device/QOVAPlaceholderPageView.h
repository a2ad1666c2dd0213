#pragma once
// The page shown for a menu entry whose page has not been built yet: a page
// with the base title and one line naming the getter it stands for.

#include "QOVADisplayBaseView.h"

class QOVALabel;

class QOVAPlaceholderPageView : public QOVADisplayBaseView {
    Q_OBJECT
public:
    explicit QOVAPlaceholderPageView(const QString &getter, QWidget *parent = nullptr);

    QString getter() const { return m_getter; }
    QOVALabel *nameLabel() const { return m_nameLabel; }

private:
    QString m_getter;
    QOVALabel *m_nameLabel = nullptr;
};
