#pragma once
// Half-time fixtures: a bare game with the manager's club, its opponent and
// three referee trios, eleven starters and a bench of one per line, plus a
// player left out and an injured one, who are never listed; and for the
// screens, every screen of half time released after each test and the list
// entries found by the identity they carry.

#include <QFontMetrics>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "ambiente_qt.h"
#include "jornada/apoio_jornada.h"
#include "matchday/frmequipa_adv.h"
#include "matchday/frmsubstituicoes.h"

namespace gv::teste {

inline const std::string ADVERSARIO = "Adversário FC";

class Base_Intervalo : public Base_Jornada {
protected:
    void SetUp() override {
        Base_Jornada::SetUp();
        db::Transaccao t(*Base_Dados);
        clube(Clube_Treinador);
        clube(ADVERSARIO);
        const char* trios[][3] = {{"Artur Primeiro", "Bruno Auxiliar", "Carlos Auxiliar"},
                                  {"Duarte Segundo", "Eduardo Bandeira", "Fausto Bandeira"},
                                  {"Gil Terceiro", "Hélio Linha", "Ivo Linha"}};
        for (auto& trio : trios)
            Base_Dados->Execute("INSERT INTO arbitros (ap, aux1, aux2) VALUES (?, ?, ?)", {trio[0], trio[1], trio[2]});
        Adversario = ADVERSARIO;
        Jogo_Em_Casa = 1;
        // Stored out of order on purpose: the lists sort by line and strength.
        const struct { const char* pos; int forca, joga; const char* nome; } plantel_treinador[] = {
            {"gk", 70, 1, "Guarda Titular"}, {"df", 65, 1, "Defesa Três"},     {"df", 80, 1, "Defesa Um"},
            {"df", 58, 1, "Defesa Quatro"},  {"df", 72, 1, "Defesa Dois"},     {"md", 62, 1, "Médio Três"},
            {"md", 75, 1, "Médio Um"},       {"md", 68, 1, "Médio Dois"},      {"av", 77, 1, "Avançado Um"},
            {"av", 66, 1, "Avançado Três"},  {"av", 71, 1, "Avançado Dois"},   {"av", 45, 2, "Avançado Banco"},
            {"md", 50, 2, "Médio Banco"},    {"df", 55, 2, "Defesa Banco"},    {"gk", 60, 2, "Guarda Suplente"},
            {"md", 90, 0, "Fora da Convocatória"}, {"av", 95, 3, "Lesionado"},
        };
        for (const auto& j : plantel_treinador) id[j.nome] = jogador(Clube_Treinador, j.pos, j.forca, j.joga, j.nome);
        id["Rival Titular"] = jogador(ADVERSARIO, "df", 50, 1, "Rival Titular");
        t.commit();
    }

    // joga of every player, by identity; joga of one.
    std::map<long long, int> jogas() {
        std::map<long long, int> r;
        auto rs = Base_Dados->OpenRecordset("SELECT rowid AS id, joga FROM jogadores");
        for (; !rs.Eof(); rs.MoveNext()) r[rs["id"].inteiro()] = rs["joga"].int32();
        return r;
    }
    long long joga(const char* nome) { return campo("joga", id.at(nome)); }
    // The identities of the named players, in this order.
    std::vector<long long> ids(std::initializer_list<const char*> nomes) {
        std::vector<long long> r;
        for (const char* n : nomes) r.push_back(id.at(n));
        return r;
    }

    std::map<std::string, long long> id;   // each named player's rowid
};

// Every character as wide as every other, accented ones too, so padded
// entries line up (some monospaced fonts do not flag themselves as such).
inline bool largura_fixa(const QFont& f) {
    const QFontMetrics m(f);
    const QString letras = QString::fromUtf8("Wil .1Mé");
    return std::all_of(letras.begin(), letras.end(),
                       [&](QChar c) { return m.horizontalAdvance(c) == m.horizontalAdvance(letras[0]); });
}

class Ecras_Intervalo : public Base_Intervalo {
protected:
    void TearDown() override {
        descarregar_ecras();
        Base_Intervalo::TearDown();
    }
    void descarregar_ecras() {
        descarregar<FrmEquipa_Adv>();
        descarregar<FrmSubstituicoes>();
        descarregar<FrmSubstituicoes_Taca>();
        apagar_pendentes();
    }
    // Runs `accao` once on screen T as soon as it is shown modally, while
    // `corpo` runs; a screen that never comes is unloaded after five seconds.
    template <class T>
    bool com_ecra(const std::function<void(T&)>& accao, const std::function<void()>& corpo) {
        bool feito = false;
        QTimer guia, reserva;   // living only as long as this call
        QObject::connect(&guia, &QTimer::timeout, [&] {
            if (feito || !carregado<T>() || !instancia<T>().mostrado_modal()) return;
            feito = true;
            accao(instancia<T>());
        });
        QObject::connect(&reserva, &QTimer::timeout, [] { descarregar<T>(); });
        guia.start(10);
        reserva.setSingleShot(true);
        reserva.start(5000);
        corpo();
        return feito;
    }

    template <class W>
    static W* controlo(QWidget& ecra, const char* nome) {
        auto* w = ecra.findChild<W*>(QString::fromLatin1(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    static QListWidget* lista(QWidget& ecra, int n) { return controlo<QListWidget>(ecra, n == 1 ? "List1" : "List2"); }
    static std::vector<long long> ids_da_lista(const QListWidget* l) {
        std::vector<long long> r;
        for (int i = 0; i < l->count(); ++i) r.push_back(l->item(i)->data(PAPEL_ROWID).toLongLong());
        return r;
    }
    // Selects the named player's entry as a click would; then both, and the swap button.
    void seleccionar(QListWidget* l, const char* nome) {
        const auto ids = ids_da_lista(l);
        const auto i = std::find(ids.begin(), ids.end(), id.at(nome));
        ASSERT_NE(i, ids.end()) << nome;
        l->setCurrentRow(static_cast<int>(i - ids.begin()));
    }
    void trocar(QWidget& ecra, const char* titular, const char* suplente) {
        seleccionar(lista(ecra, 1), titular);
        seleccionar(lista(ecra, 2), suplente);
        controlo<QPushButton>(ecra, "Command1")->click();
    }
    std::vector<std::string> avisos() const {   // the messages shown so far
        std::vector<std::string> r;
        for (const auto& m : porta.mensagens) r.push_back(m.texto);
        return r;
    }
};

} // namespace gv::teste
