#include "platform/qt/traducoes_qt.h"

#include <QByteArrayView>
#include <QFileSystemModel>
#include <QLocale>

namespace gv {

namespace {

struct Traducao {
    const char* contexto;
    const char* texto;
    const char* portugues;
};

// What the game's dialogs show of Qt's own texts and Qt's catalogue of
// Portugal's Portuguese lacks or misspells.
constexpr Traducao Traducoes[] = {
    {"QFileDialog", "Look in:", "Procurar em:"},
    {"QFileDialog", "Files of type:", "Ficheiros do tipo:"},
    {"QFileDialog", "Show ", "Mostrar "},
    {"QFileDialog", "&New Folder", "&Nova Pasta"},
    {"QFileDialog", "&Choose", "&Escolher"},
    {"QFileDialog", "Go back", "Recuar"},
    {"QFileDialog", "Go forward", "Avançar"},
    {"QFileDialog", "Go to the parent directory", "Ir para a pasta mãe"},
    {"QFileDialog", "Create a New Folder", "Criar uma nova pasta"},
    {"QFileDialog", "Change to list view mode", "Mudar para a vista abreviada"},
    {"QFileDialog", "Change to detail view mode", "Mudar para a vista detalhada"},
    {"QFileDialog", "Sidebar", "Barra lateral"},
    {"QFileDialog", "List of places and bookmarks", "Lista de locais e marcadores"},
    {"QFileDialog", "Files", "Ficheiros"},
    {"QFileDialog", "Recent Places", "Locais Recentes"},
    {"QSidebar", "Remove", "Remover"},
    {"QFileSystemModel", "Computer", "Computador"},
    // The catalogue's "Data de Modificação" is too wide for the column.
    {"QFileSystemModel", "Date Modified", "Modificado"},
    {"QAbstractFileIconProvider", "Drive", "Unidade"},
    {"QAbstractFileIconProvider", "Folder", "Pasta"},
    {"QAbstractFileIconProvider", "Unknown", "Desconhecido"},
    {"QWidgetTextControl", "&Copy", "&Copiar"},
    {"QWidgetTextControl", "Copy &Link Location", "Copiar &Endereço da Ligação"},
    {"QWidgetTextControl", "Select All", "Seleccionar Tudo"},
};

class Traducoes_Jogo : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* contexto, const char* texto, const char*, int) const override {
        for (const Traducao& t : Traducoes)
            if (QByteArrayView(contexto) == QByteArrayView(t.contexto) && QByteArrayView(texto) == QByteArrayView(t.texto))
                return QString::fromUtf8(t.portugues);
        return {};
    }
    bool isEmpty() const override { return false; }
};

} // namespace

QTranslator* Criar_Traducoes_Jogo(QObject* pai) { return new Traducoes_Jogo(pai); }

QVariant Ficheiros_Do_Jogo::data(const QModelIndex& indice, int papel) const {
    const auto* m = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (papel != Qt::DisplayRole || !m) return QIdentityProxyModel::data(indice, papel);
    const QModelIndex origem = mapToSource(indice.siblingAtColumn(0));   // the file, by its name
    switch (indice.column()) {
    case 1:   // a folder has no size
        if (!m->isDir(origem)) return QLocale().formattedDataSize(m->size(origem));
        break;
    case 2:   // a saved game
        if (!m->isDir(origem) && m->fileName(origem).endsWith(QStringLiteral(".gv"), Qt::CaseInsensitive))
            return portugues_ ? QStringLiteral("Jogo Golvantario") : QStringLiteral("Golvantario game");
        break;
    case 3: return QLocale().toString(m->lastModified(origem), QLocale::ShortFormat);
    }
    return QIdentityProxyModel::data(indice, papel);
}

Qt::ItemFlags Ficheiros_Do_Jogo::flags(const QModelIndex& indice) const {
    return QIdentityProxyModel::flags(indice) & ~(Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
}

} // namespace gv
