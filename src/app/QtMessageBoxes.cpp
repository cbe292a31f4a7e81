#include "QtMessageBoxes.h"

#include "core/Product.h"

#include <QMessageBox>

namespace {
const QString& Title = Product::Name;
}

void QtMessageBoxes::message(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, Title, text, QMessageBox::Ok, m_owner);
    box.exec();
}

void QtMessageBoxes::error(const QString& text)
{
    QMessageBox::critical(m_owner, Title, text);
}

void QtMessageBoxes::warning(const QString& text)
{
    QMessageBox::warning(m_owner, Title, text);
}

bool QtMessageBoxes::question(const QString& text)
{
    return QMessageBox::question(m_owner, Title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}
