#pragma once
// The game's own Portuguese for Qt's dialogs, beside Qt's catalogue.

#include <QIdentityProxyModel>
#include <QTranslator>

namespace gv {

// Qt's texts that Portugal's Portuguese catalogue lacks or gets wrong, for
// installing after that catalogue (the last installed is asked first).
QTranslator* Criar_Traducoes_Jogo(QObject* pai);

// A file dialog's list in the game's language: sizes and dates in the form
// of the default locale rather than the system's, and a saved game (.gv)
// called so rather than by the system's name for the extension. Nothing is
// dragged out of it nor dropped into it: either would move a file.
class Ficheiros_Do_Jogo : public QIdentityProxyModel {
    Q_OBJECT
public:
    Ficheiros_Do_Jogo(bool portugues, QObject* pai) : QIdentityProxyModel(pai), portugues_(portugues) {}
    QVariant data(const QModelIndex& indice, int papel) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;
    bool canDropMimeData(const QMimeData*, Qt::DropAction, int, int, const QModelIndex&) const override {
        return false;
    }
    bool dropMimeData(const QMimeData*, Qt::DropAction, int, int, const QModelIndex&) override { return false; }
private:
    bool portugues_;
};

} // namespace gv
