#include "qrenderdialogue.h"

#include "ui_qrenderdialogue.h"

QRenderDialogue::QRenderDialogue(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
    , m_ui(new Ui::m_dialog)
{
    m_ui->setupUi(this);
    connect(m_ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QRenderDialogue::~QRenderDialogue() = default;

QString QRenderDialogue::outputFormat() const
{
    return m_ui->outputFormatComboBox->currentText();
}

int QRenderDialogue::imageWidth() const
{
    return m_ui->widthSpinBox->value();
}

int QRenderDialogue::imageHeight() const
{
    return m_ui->heightSpinBox->value();
}

bool QRenderDialogue::showTurtle() const
{
    return m_ui->showTurtleCheckBox->isChecked();
}

void QRenderDialogue::hideFormatChoice()
{
    m_ui->outputFormatLabel->hide();
    m_ui->outputFormatComboBox->hide();
}
