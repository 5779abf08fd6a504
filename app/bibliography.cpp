#include "app/bibliography.h"

#include <initializer_list>
#include <string_view>

namespace velmara {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AppendLines(std::string& text, std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) {
    text += line;
    text += kLineEnd;
  }
}

}  // namespace

// The three word lists are generated from Debian's hunspell-es (scripts/make-word-database.py);
// the false positives are our own list (resources/falsos_positivos.txt).
std::string BibliographyText() {
  std::string text;
  AppendLines(text, {"Este programa se basa en la siguiente bibliograf\xED" "a: ", ""});
  AppendLines(text, {
      "Diccionario : Diccionario de espa\xF1ol para Hunspell (variante es_ES u otra del mismo paquete).",
      "Santiago Bosio, proyecto RLA-ES (Recursos Ling\xFC\xEDsticos Abiertos del Espa\xF1ol).",
      "Paquete hunspell-es 7.5.0 de Debian (diccionarios de LibreOffice), licencia GPL-3+, LGPL-3+ o MPL-1.1+.",
      "",
  });
  AppendLines(text, {
      "Verbos : Conjugaciones y formas con pronombres del mismo diccionario, desarrolladas con unmunch.",
      "Santiago Bosio, proyecto RLA-ES; unmunch de hunspell-tools 1.7 (Debian).",
      "",
  });
  AppendLines(text, {
      "Nombres propios : Nombres propios del mismo diccionario de espa\xF1ol para Hunspell.",
      "Santiago Bosio, proyecto RLA-ES; paquete hunspell-es 7.5.0 de Debian.",
      "",
  });
  AppendLines(text, {
      "Falsos positivos : Lista propia de neologismos y pr\xE9stamos del espa\xF1ol actual.",
      "Recopilada por los autores de Detector Velmara (tecnolog\xED" "a, deporte, gastronom\xED" "a y medios).",
      "",
  });
  AppendLines(text, {
      "Solo se han tomado las palabras que recoge cada diccionario.",
      "No se ha hecho ning\xFAn uso de sus definiciones ni copia de ellas.",
      "El autor no tiene ninguna intenci\xF3n de ir en contra de los derechos de autor.",
      "El autor se hace responsable del programa.",
      "Este programa es para ayudar a la detecci\xF3n de faltas graves de ortograf\xED" "a.",
  });
  text += "El autor se ha basado en esta bibliograf\xED" "a para crear el programa.";
  return text;
}

}  // namespace velmara
