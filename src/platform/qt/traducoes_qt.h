#pragma once
// The game's own Portuguese for Qt's dialogs, beside Qt's catalogue.

#include <QIdentityProxyModel>
#include <QTranslator>

namespace gv {

// Qt's texts that Portugal's Portuguese catalogue lacks or gets wrong, for
// installing after that catalogue (the last installed is asked first).
QTranslator* Criar_Traducoes_Jogo(QObject* pai);

// A file dialog's list with its dates in the language of the default locale
// rather than the system's.
class Ficheiros_Em_Portugues : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& indice, int papel) const override;
};

} // namespace gv
