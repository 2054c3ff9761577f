#include "dialogs/AboutForm.h"
#include "platform/ProductName.h"
#include "program/Globals.h"
#include "settings/Language.h"
#include "settings/widgets/TranslateForm.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char kVersion[] = "2.0";

QLabel *NewLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About"));
    BuildLayout();
    lblProductName->setText(QString(kProductName));
    lblCompanyName->setText(QStringLiteral("Quorvane"));
    ShowTexts();
}

TfrmAbout::~TfrmAbout()
{
    if (frmAbout == this)
        frmAbout = nullptr;
}

void TfrmAbout::BuildLayout()
{
    setMinimumSize(300, 197);
    imgIcon = NewLabel(this, "imgIcon");
    imgIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    lblProductName = NewLabel(this, "lblProductName");
    QFont large = lblProductName->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.4);
    lblProductName->setFont(large);
    lblVersion = NewLabel(this, "lblVersion");
    lblCompanyName = NewLabel(this, "lblCompanyName");
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QGridLayout;
    texts->setHorizontalSpacing(16);
    texts->addWidget(imgIcon, 0, 0, 4, 1);
    texts->addWidget(lblProductName, 0, 1);
    texts->addWidget(lblVersion, 1, 1);
    texts->setRowMinimumHeight(2, 24);
    texts->addWidget(lblCompanyName, 3, 1);
    texts->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(texts);
    layout->addStretch();
    layout->addWidget(Bevel1);
    layout->addWidget(btnOk, 0, Qt::AlignRight);
}

void TfrmAbout::showEvent(QShowEvent *event)
{
    ShowTexts();
    QDialog::showEvent(event);
}

void TfrmAbout::ShowTexts()
{
    const QString langFile = LanguageFile();
    TranslateForm(this, langFile);
    lblVersion->setText(GetLanguageText(langFile, QStringLiteral("frmAbout"),
                                        QStringLiteral("lblVersion"),
                                        QStringLiteral("Version:"))
                        + u' ' + QLatin1String(kVersion));
    // The owner's icon, the program's; set after the translation, which may
    // have given the label a text instead.
    imgIcon->setPixmap(windowIcon().pixmap(48, 48));
}
