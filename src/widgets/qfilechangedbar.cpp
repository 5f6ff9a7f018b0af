#include "qfilechangedbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

QFileChangedBar::QFileChangedBar(QWidget* parent)
    : QWidget(parent)
    , m_label(new QLabel)
    , m_reloadButton(new QPushButton)
    , m_keepButton(new QPushButton)
{
    m_reloadButton->setObjectName(QStringLiteral("reloadButton"));
    m_keepButton->setObjectName(QStringLiteral("keepButton"));
    // The colours of a tooltip: a notice that stands out in light and dark themes alike.
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);

    auto* icon = new QLabel;
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(side, side));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    icon->setBuddy(m_reloadButton);
    m_label->setBuddy(m_reloadButton);
    row->addWidget(icon);
    row->addWidget(m_label, 1);
    row->addWidget(m_reloadButton);
    row->addWidget(m_keepButton);

    connect(m_reloadButton, &QPushButton::clicked, this, &QFileChangedBar::reloadRequested);
    connect(m_keepButton, &QPushButton::clicked, this, &QFileChangedBar::keepRequested);
    retranslate();
    hide();
}

void QFileChangedBar::retranslate()
{
    m_label->setText(tr("The file was changed on disk by another program."));
    setAccessibleName(tr("File changed on disk"));
    setAccessibleDescription(m_label->text());
    m_reloadButton->setText(tr("Reload"));
    m_reloadButton->setToolTip(tr("Read the file again; your unsaved edits are lost."));
    m_keepButton->setText(tr("Keep Mine"));
    m_keepButton->setToolTip(tr("Keep your text; the next save asks before overwriting the file."));
}
