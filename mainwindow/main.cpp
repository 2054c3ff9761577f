// A first window: loads "bookmarks.xml" from the program's folder and shows
// its folder titles. The real main window replaces it.
#include "catalogue/Catalog.h"
#include "platform/VarnokelError.h"

#include <QApplication>
#include <QMessageBox>
#include <QTreeWidget>

namespace {

void AddFolders(QTreeWidgetItem *parentItem, QTreeWidget *tree, const TFolders &folders)
{
    for (const auto &folder : folders) {
        auto *item = parentItem ? new QTreeWidgetItem(parentItem)
                                : new QTreeWidgetItem(tree);
        item->setText(0, folder->Title());
        AddFolders(item, tree, folder->Folders());
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnokel PRO"));
    TCatalog catalog;
    QTreeWidget tree;
    tree.setHeaderHidden(true);
    tree.setWindowTitle(QStringLiteral("Varnokel PRO"));
    try {
        catalog.LoadFromFile(QApplication::applicationDirPath() + QStringLiteral("/bookmarks.xml"));
    } catch (const VarnokelError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Varnokel PRO"), e.Message());
    }
    AddFolders(nullptr, &tree, catalog.Folders());
    tree.resize(400, 500);
    tree.show();
    return app.exec();
}
