#include "market/comum.h"

#include "data/erros.h"

#include <cctype>
#include <cstdlib>

#include "platform/interface_utilizador.h"

namespace gv {

double Val(const std::string& texto) {
    std::size_t i = 0;
    while (i < texto.size() && (texto[i] == ' ' || texto[i] == '\t')) ++i;
    std::string numero;
    if (i < texto.size() && (texto[i] == '-' || texto[i] == '+')) numero += texto[i++];
    bool ponto = false;
    for (; i < texto.size(); ++i) {
        const char c = texto[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            numero += c;
        } else if (c == '.' && !ponto) {
            ponto = true;
            numero += c;
        } else {
            break;
        }
    }
    if (numero.empty() || numero == "-" || numero == "+" || numero == ".") return 0;
    return std::strtod(numero.c_str(), nullptr);
}

void Negocio_Falhou(const std::string& causa) {
    ui().aviso(std::string(txt("Não foi possível concluir a operação. Nada foi alterado.\n",
                               "The operation could not be completed. Nothing was changed.\n")) +
                   causa,
               Icone::Critico);
}

void Negocio_Falhou(const std::exception& e) {
    Registar_Erro(e);
    Negocio_Falhou(Causa_Erro(e));
}

} // namespace gv
