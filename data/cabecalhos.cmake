# Report header pictures, drawn by gerar_cabecalhos: the design report's header sits in the
# program folder, the rainfall report's one in "Arquivos Comuns".
set(cabecalho_relatorio "${VANDORO_BIN_DIR}/Cabecalho.jpg")
set(cabecalho_quenda "${VANDORO_COMMON_DIR}/Cabecalho_Quenda21.jpg")
add_custom_command(
  OUTPUT ${cabecalho_relatorio} ${cabecalho_quenda}
  COMMAND ${CMAKE_COMMAND} -E make_directory "${VANDORO_BIN_DIR}" "${VANDORO_COMMON_DIR}"
  COMMAND gerar_cabecalhos ${cabecalho_relatorio} ${cabecalho_quenda}
  DEPENDS gerar_cabecalhos
  COMMENT "Desenhando os cabeçalhos dos relatórios"
  VERBATIM)
add_custom_target(cabecalhos ALL DEPENDS ${cabecalho_relatorio} ${cabecalho_quenda})

install(FILES ${cabecalho_relatorio} DESTINATION ${VANDORO_DESTINO_BIN})
install(FILES ${cabecalho_quenda} DESTINATION "${VANDORO_DESTINO_COMUNS}")

# The sizing tests read the pictures; the test target is defined after this folder.
function(vandoro_cabecalhos_para_testes)
  if(TARGET test_sizing)
    add_dependencies(test_sizing cabecalhos)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vandoro_cabecalhos_para_testes)
