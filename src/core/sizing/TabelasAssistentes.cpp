#include "core/sizing/TabelasAssistentes.h"

#include "core/common/Numeros.h"

const std::vector<TLinhaRugCan>& TabelaRugCan() {
    static const std::vector<TLinhaRugCan> t = {
        {"Canal de terra retilíneo e uniforme", "&Limpo, recentemente construído", 0.016, 0.018, 0.020},
        {"", "L&impo, mas já tendo sofrido intemperismo", 0.018, 0.022, 0.025},
        {"", "&Escascalhado, seção uniforme, limpo", 0.022, 0.025, 0.030},
        {"", "Co&m grama curta, poucas ervas daninhas", 0.022, 0.027, 0.033},
        {"Canal de terra sinuoso", "&Sem vegetação", 0.023, 0.025, 0.030},
        {"", "&Grama, algumas ervas daninhas", 0.025, 0.030, 0.033},
        {"", "E&rvas daninhas densas, plantas aquáticas em canais profundos", 0.030, 0.035, 0.040},
        {"", "&Fundo em terra e lados escascalhados", 0.028, 0.030, 0.035},
        {"", "Fun&do em cascalho e taludes com ervas daninhas", 0.025, 0.035, 0.040},
    };
    return t;
}

const std::vector<TLinhaRugTer>& TabelaRugTer() {
    static const std::vector<TLinhaRugTer> t = {
        {"Cultura em linha", "Preparo primário com aiveca", "&Superfície plana", "0.070-0.100", 0.085},
        {"", "", "S&uperfície cultivada", "0.090-0.120", 0.110},
        {"", "Escarificador", "Super&fície plana", "0.080-0.120", 0.100},
        {"", "", "Sup&erfície cultivada", "0.100-0.140", 0.120},
        {"Sem preparo", "", "&Resíduo normal", "0.100-0.150", 0.120},
        {"", "", "&Muito resíduo", "0.130-0.170", 0.150},
        {"Grama ou pastagem", "", "&Pouca cobertura", "0.065-0.100", 0.080},
        {"", "", "Cober&tura média", "0.090-0.120", 0.100},
        {"", "", "&Boa cobertura", "0.100-0.140", 0.120},
        {"Pequenos grãos", "", "Resí&duos removidos", "0.090-0.120", 0.100},
        {"", "", "Resíduos &incorporados", "0.110-0.140", 0.120},
        {"Florestas ou áreas de reflorestamento", "", "Árvores pe&quenas", "0.120-0.180", 0.150},
        {"", "", "Árvores &grandes", "0.150-0.250", 0.200},
        {"Terra arada", "Arado de aiveca", "Superfície p&lana", "0.010-0.050", 0.035},
        {"", "", "Superfície rugos&a", "0.250-0.500", 0.350},
        {"", "Escarificador", "Superfície pla&na", "0.030-0.080", 0.050},
        {"", "", "Superfície rugosa", "0.150-0.500", 0.250},
        {"", "Arado de disco", "Superfície plana", "0.030-0.070", 0.040},
        {"", "", "Superfície rugosa", "0.100-0.400", 0.200},
    };
    return t;
}

const std::vector<TLinhaSm>& TabelaSm() {
    static const std::vector<TLinhaSm> t = {
        {"&Terraço embutido em nível, construído com trator de", "esteiras FIAT AD7 B", 0.721, 0},
        {"T&erraço embutido em nível, construído com trator de", "esteiras FIAT AD14", 0.679, 0},
        {"Te&rraço embutido em nível, construído com", "motoniveladora DRESSER 140C", 0.667, 0},
        {"Terr&aço base larga em nível, construído com trator",
         "VALMET 1580 tracionando terraceador (sem acabamento)", 0.213, 0},
        {"Terraço &base larga com gradiente, construído com trator",
         "VALMET 1580 tracionando terraceador (sem acabamento)", 0.170, 0},
        {"Terraço ba&se larga com gradiente, construído com trator",
         "VALMET 1580 tracionando terraceador (acabamento com aiveca)", 0.164, 0},
        {"Terraço base &larga em nível, construído com", "motoniveladora HUBER WARCO 140 M", 0.186, 0.221},
        {"Terraço leirão ou &murundum em nível, construído com trator", "de esteiras FIAT AD& B", 0.418, 0},
    };
    return t;
}

std::string TextoSm(int linha, const std::string& unidade, int fator) {
    const auto& t = TabelaSm();
    if (linha < 1 || linha > static_cast<int>(t.size())) return {};
    const char* fmt = unidade == "%" ? " 0.0" : " 0.000";
    const TLinhaSm& l = t[linha - 1];
    std::string s = FormatFloat(fmt, l.Valor * fator);
    if (l.Maximo > 0) s += " a" + FormatFloat(fmt, l.Maximo * fator);
    return s;
}

std::string MensagemFaixaSm(int fator) {
    const TLinhaSm& l = TabelaSm()[kLinhaFaixaSm - 1];
    return "Valor de Sm inconsistente. Forneça um valor compreendido entre:[" + FloatToStr(fator * l.Valor) + " .. " +
           FloatToStr(fator * l.Maximo) + "].";
}

std::string ErroUnidadeSm(const std::string& unidade, int fator) {
    if (unidade != "%" && unidade != "m/m") return "É necessário entrar com uma unidade de declividade (% ou m/m)";
    if (fator != 1 && fator != 100)
        return "É necessário entrar com um multiplicador de unidade de declividade (1 ou 100)";
    return {};
}

const std::vector<TLinhaZ>& TabelaZ() {
    static const std::vector<TLinhaZ> t = {
        {" &Rocha firme", 0.25},         {" Roc&ha fissurada", 0.50},       {" &Solo firme", 1.00},
        {" So&lo argilo-arenoso", 1.50}, {" Solo &areno-argiloso", 2.50}, {" Ou&tros", 0},
    };
    return t;
}

std::string TextoZ(int linha) {
    const auto& t = TabelaZ();
    if (linha < 1 || linha > static_cast<int>(t.size())) return {};
    if (linha == kLinhaOutrosZ) return kTextoOutrosZ;
    return FormatFloat(" 0.00", t[linha - 1].Valor);
}

const std::vector<TLinhaTipoTerraco>& TiposParana() {
    static const std::vector<TLinhaTipoTerraco> t = {
        {"2 - 8", "Terraços de base larga"},
        {"8 - 12", "Terraço com lado posterior do dique íngreme e Terraços de base média"},
        {"12 - 18", "Terraços de base estreita"},
        {"18 - 50", "Terraços em patamar"},
    };
    return t;
}

const std::vector<TLinhaTipoTerraco>& TiposEmaterRS() {
    static const std::vector<TLinhaTipoTerraco> t = {
        {"0 - 9", "Terraços de base larga sem captação de água externa à propriedade"},
        {"9 - 10", "Dois terraços de base larga e um terraço tipo murundum (intercalados)"},
        {"10 - 12", "Um terraço de base larga e um terraço tipo murundum (intercalados)"},
        {"acima de 12", "Terraços tipo murundum"},
    };
    return t;
}

const std::vector<TLinhaTipoTerraco>& TiposLombardiNeto() {
    static const std::vector<TLinhaTipoTerraco> t = {
        {"0 - 8", "Terraços de base larga"},
        {"8 - 12", "Terraços de base média"},
        {"12 - 18", "Terraços de base estreita (incluindo terraços tipo embutido, leirão ou murundum)"},
        {"acima de 18 ", "Terraços em patamar"},
    };
    return t;
}
