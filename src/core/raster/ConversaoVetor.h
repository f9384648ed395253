#pragma once
// The vector conversion commands of the import/export window: a ".vet" made from an Idrisi
// (".vec" + ".dvc") or Surfer (".txt") vector file, and back. Checks come first and nothing
// is written before they pass.
#include <string>

enum class TFormatoVetor { Idrisi, Surfer };

// Titles proposed for a chosen input: "Arquivo gerado da importação do arquivo " / "...
// exportação ..." + the name without its folder.
std::string TituloImportacao(const std::string& entrada);
std::string TituloExportacao(const std::string& entrada);

// The input exists (EArquivoEntrada), an output name is given (EArquivoSaida), and the output
// (with its ".dvc" partner for an Idrisi export) is not the input.
void ChecaConversaoVetor(const std::string& entrada, const std::string& saida, bool comDocumentacao = false);

// Idrisi: the ".dvc" partner is read and checked by the importer (its load error or
// "Atributo do arquivo '...' inválido."). unidade ("m" or "km") serves Surfer only.
void ImportaVetor(TFormatoVetor formato, const std::string& entrada, const std::string& saida,
                  const std::string& titulo, const std::string& unidade = "m");
// Idrisi: the ".vec" and its ".dvc" with the title; Surfer keeps no title.
void ExportaVetor(TFormatoVetor formato, const std::string& entrada, const std::string& saida,
                  const std::string& titulo);
