#pragma once
// The half-time fixture for screen tests: every screen of half time is
// released after each test, and the list entries are found by the
// identity they carry.

#include <QFontMetrics>
#include <QListWidget>
#include <QPushButton>

#include <vector>

#include "ambiente_qt.h"
#include "apoio_intervalo.h"
#include "matchday/frmequipa_adv.h"
#include "matchday/frmsubstituicoes.h"

namespace gv::teste {

// Every character as wide as every other, accented ones too, so padded
// entries line up (some monospaced fonts do not flag themselves as such).
inline bool largura_fixa(const QFont& f) {
    const QFontMetrics m(f);
    const int w = m.horizontalAdvance(QLatin1Char('W'));
    for (QChar c : QString::fromUtf8("il .1Mé"))
        if (m.horizontalAdvance(c) != w) return false;
    return true;
}

class Ecras_Intervalo : public Base_Intervalo {
protected:
    void TearDown() override {
        descarregar<FrmEquipa_Adv>();
        descarregar<FrmSubstituicoes>();
        descarregar<FrmSubstituicoes_Taca>();
        apagar_pendentes();
        Base_Intervalo::TearDown();
    }

    // The league or the cup screen, loaded on first reference.
    Ecra_Substituicoes& substituicoes(bool taca) {
        if (taca) return instancia<FrmSubstituicoes_Taca>();
        return instancia<FrmSubstituicoes>();
    }
    void descarregar_substituicoes() {
        descarregar<FrmSubstituicoes>();
        descarregar<FrmSubstituicoes_Taca>();
        apagar_pendentes();
    }

    template <class W>
    static W* controlo(QWidget& ecra, const char* nome) {
        auto* w = ecra.findChild<W*>(QString::fromLatin1(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }

    static std::vector<long long> ids_da_lista(const QListWidget* l) {
        std::vector<long long> r;
        for (int i = 0; i < l->count(); ++i) r.push_back(l->item(i)->data(PAPEL_ROWID).toLongLong());
        return r;
    }
    static QListWidgetItem* entrada(const QListWidget* l, long long rowid) {
        for (int i = 0; i < l->count(); ++i)
            if (l->item(i)->data(PAPEL_ROWID).toLongLong() == rowid) return l->item(i);
        return nullptr;
    }
    // Selects the named player's entry as a click would.
    void seleccionar(QListWidget* l, const char* nome) {
        QListWidgetItem* e = entrada(l, id.at(nome));
        ASSERT_NE(e, nullptr) << nome;
        l->setCurrentItem(e);
    }
    // Selects the two entries and presses the swap button.
    void trocar(Ecra_Substituicoes& ecra, const char* titular, const char* suplente) {
        seleccionar(controlo<QListWidget>(ecra, "List1"), titular);
        seleccionar(controlo<QListWidget>(ecra, "List2"), suplente);
        controlo<QPushButton>(ecra, "Command1")->click();
    }
};

} // namespace gv::teste
