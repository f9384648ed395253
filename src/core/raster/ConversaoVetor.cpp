#include "core/raster/ConversaoVetor.h"

#include "core/common/Arquivo.h"
#include "core/raster/Declividade.h"
#include "core/raster/FormatoImagem.h"
#include "core/raster/Vetor.h"

std::string TituloImportacao(const std::string& entrada) {
    return "Arquivo gerado da importação do arquivo " + NomeSemCaminho(entrada);
}

std::string TituloExportacao(const std::string& entrada) {
    return "Arquivo gerado da exportação do arquivo " + NomeSemCaminho(entrada);
}

void ChecaConversaoVetor(const std::string& entrada, const std::string& saida, bool comDocumentacao) {
    if (entrada.empty() || !ArquivoExiste(entrada)) throw EArquivoEntrada();
    if (saida.empty()) throw EArquivoSaida();
    ChecaSaidaDiferente(entrada, saida);
    if (comDocumentacao) ChecaSaidaDiferente(entrada, NomeDocDeVec(saida));
}

void ImportaVetor(TFormatoVetor formato, const std::string& entrada, const std::string& saida,
                  const std::string& titulo, const std::string& unidade) {
    ChecaConversaoVetor(entrada, saida);
    TVET vet;
    if (formato == TFormatoVetor::Idrisi) {
        // The documentation file of the input is not to be written over either.
        ChecaSaidaDiferente(NomeDocDeVec(entrada), saida);
        ImportarIdrisi(entrada, titulo, vet);
    } else {
        ImportarSurfer(entrada, titulo, unidade, vet);
    }
    vet.Save(saida);
}

void ExportaVetor(TFormatoVetor formato, const std::string& entrada, const std::string& saida,
                  const std::string& titulo) {
    const bool idrisi = formato == TFormatoVetor::Idrisi;
    ChecaConversaoVetor(entrada, saida, idrisi);
    TVET vet;
    vet.Load(entrada);
    if (idrisi) ExportarIdrisi(vet, saida, titulo);
    else ExportarSurfer(vet, saida);
}
