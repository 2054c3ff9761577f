#include "dialogs/StatisticsForm.h"
#include "catalogue/Catalog.h"
#include "platform/Format.h"
#include "program/CommandGuard.h"
#include "program/DesignedSize.h"
#include "program/Globals.h"
#include "settings/widgets/TranslateForm.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *NewLabel(QWidget *parent, const char *name, const char *caption, bool value)
{
    auto *label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    if (value)
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

TfrmStatistics::TfrmStatistics(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmStatistics"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Statistics"));
    BuildLayout();
    Guarded([this] { FormCreate(); });
    SetDesignedClientSize(this, {262, 110});
}

TfrmStatistics::~TfrmStatistics()
{
    if (frmStatistics == this)
        frmStatistics = nullptr;
}

void TfrmStatistics::BuildLayout()
{
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    lblFileSize = NewLabel(this, "lblFileSize", "File Size:", false);
    lblFileSizeVal = NewLabel(this, "lblFileSizeVal", "%f KB", true);
    lblFolders = NewLabel(this, "lblFolders", "Folders:", false);
    lblFoldersVal = NewLabel(this, "lblFoldersVal", "0", true);
    lblBookmarks = NewLabel(this, "lblBookmarks", "Bookmarks:", false);
    lblBookmarksVal = NewLabel(this, "lblBookmarksVal", "0", true);
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *values = new QGridLayout;
    // The designed columns, as least widths of the columns, not of the labels: a
    // longer caption widens its column and the dialog with it.
    values->setColumnMinimumWidth(0, 120);
    values->setColumnMinimumWidth(1, 120);
    values->addWidget(lblFileSize, 0, 0);
    values->addWidget(lblFileSizeVal, 0, 1);
    values->addWidget(lblFolders, 1, 0);
    values->addWidget(lblFoldersVal, 1, 1);
    values->addWidget(lblBookmarks, 2, 0);
    values->addWidget(lblBookmarksVal, 2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(values);
    layout->addStretch();
    layout->addWidget(Bevel1);
    layout->addWidget(btnOk, 0, Qt::AlignRight);
}

// A size format from a language file that takes no single number raises the
// formatting error here: the counts then keep "0" and the dialog still opens.
void TfrmStatistics::FormCreate()
{
    TranslateForm(this, LanguageFile());
    const QString path = AppDir + QLatin1String(kCatalogFileName);
    QFile file(path);
    // Only a regular file: opening a pipe of that name would wait for a writer.
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) {
        const double kilobytes = double(file.size()) / 1024;
        lblFileSizeVal->setText(Format(lblFileSizeVal->text(), {kilobytes}, QLocale::system()));
    }
    if (Catalog) {
        lblFoldersVal->setText(QString::number(Catalog->GetFolderCount()));
        lblBookmarksVal->setText(QString::number(Catalog->GetBookmarkCount()));
    }
}
