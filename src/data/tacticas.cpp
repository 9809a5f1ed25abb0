#include "data/tacticas.h"

#include <cstdlib>

#include "data/esquema.h"
#include "data/estado.h"

namespace gv {

namespace {

int contar(const char* condicao, const char* pos) {
    return base_aberta()
        .valor(std::string("SELECT count(*) FROM jogadores WHERE equipa = ? AND ") + condicao + " AND pos = ?",
               {Clube_Treinador, pos})
        .int32();
}

} // namespace

Formacao ler_formacao(const std::string& texto) {
    int partes[3] = {0, 0, 0};
    std::size_t inicio = 0;
    for (int i = 0; i < 3 && inicio <= texto.size(); ++i) {
        auto fim = texto.find('-', inicio);
        partes[i] = std::atoi(texto.substr(inicio, fim == std::string::npos ? std::string::npos : fim - inicio).c_str());
        if (fim == std::string::npos) break;
        inicio = fim + 1;
    }
    return {partes[0], partes[1], partes[2]};
}

std::string Tactica_Actual() {
    return std::to_string(contar("joga = 1", "df")) + "-" + std::to_string(contar("joga = 1", "md")) + "-" +
           std::to_string(contar("joga = 1", "av"));
}

std::vector<std::string> Tacticas_Possiveis() {
    int d = contar("joga <> 3", "df"), m = contar("joga <> 3", "md"), a = contar("joga <> 3", "av");
    std::vector<std::string> r;
    for (const char* f : Formacoes) {
        auto p = ler_formacao(f);
        if (d >= p.defesas && m >= p.medios && a >= p.avancados) r.emplace_back(f);
    }
    return r;
}

void Preencher_Tacticas(Vista_Tacticas& combo) {
    // Each step on its own: a failed count skips that step only.
    combo.limpar();
    try {
        for (const auto& f : Tacticas_Possiveis()) combo.acrescentar(f);
    } catch (const db::Erro_BD&) {
    }
    try {
        std::string actual = Tactica_Actual();
        combo.definir_texto(actual);
        if (ler_formacao(actual).soma() != 10) combo.assinalar_incompleta();
    } catch (const db::Erro_BD&) {
    }
}

void Escolher_Melhor_Equipa() {
    auto& d = base_aberta();
    d.Execute("UPDATE jogadores SET joga = 0 WHERE equipa = ? AND joga IN (1, 2)", {Clube_Treinador});
    struct Linha {
        const char* pos;
        int titulares, suplentes;
    };
    for (Linha l : {Linha{"gk", 1, 1}, Linha{"df", 4, 1}, Linha{"md", 3, 1}, Linha{"av", 3, 1}}) {
        auto rs = d.OpenRecordset(
            "SELECT joga FROM jogadores WHERE equipa = ? AND pos = ? AND joga <> 3 ORDER BY forca DESC, rowid LIMIT ?",
            {Clube_Treinador, l.pos, l.titulares + l.suplentes});
        for (int n = 1; !rs.Eof(); rs.MoveNext(), ++n) {
            rs.Edit();
            rs.set("joga", n <= l.titulares ? JOGA_TITULAR : JOGA_SUPLENTE);
            rs.Update();
        }
    }
}

} // namespace gv
