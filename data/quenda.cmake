# Rainfall-equation database, built from the public sources in fontes/chuva by the
# gerar_bd_chuva tool into "Arquivos Comuns/Quenda" beside the program folder.
set(quenda_fontes ${CMAKE_CURRENT_SOURCE_DIR}/fontes/chuva)
set(quenda_saida "${VANDORO_COMMON_DIR}/Quenda")
set(quenda_arquivos
  "${quenda_saida}/Estados_Qnd21.bin"
  "${quenda_saida}/Localidades_Qnd21.bin"
  "${quenda_saida}/Referencias_Qnd21.ini")
add_custom_command(OUTPUT ${quenda_arquivos}
  COMMAND ${CMAKE_COMMAND} -E make_directory "${quenda_saida}"
  COMMAND gerar_bd_chuva "${quenda_fontes}" "${quenda_saida}"
  DEPENDS gerar_bd_chuva
    ${quenda_fontes}/IDF_k.asc ${quenda_fontes}/IDF_a.asc ${quenda_fontes}/IDF_b.asc
    ${quenda_fontes}/IDF_c.asc ${quenda_fontes}/estacoes_ANA_inventario.csv
    ${quenda_fontes}/municipios.csv ${quenda_fontes}/estados.csv
  COMMENT "Gerando o banco de dados de equações de chuva"
  VERBATIM)
add_custom_target(bd_chuva ALL DEPENDS ${quenda_arquivos})
install(FILES ${quenda_arquivos} DESTINATION "${VANDORO_DESTINO_COMUNS}/Quenda")

# The rainfall tests read the shipped database; the test targets are made after this file.
function(vandoro_depende_bd_chuva)
  foreach(t test_rainfall test_cli)
    if(TARGET ${t})
      add_dependencies(${t} bd_chuva)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vandoro_depende_bd_chuva)
