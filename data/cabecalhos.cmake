# Report header pictures, drawn by gerar_cabecalhos (a Qt tool, so only with the desktop
# program; a report without its header picture still shows and prints): the design
# report's header sits in the program folder, the rainfall report's one in "Arquivos Comuns".
if(NOT VANDORO_GUI)
  return()
endif()
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

# The window tests read the pictures; the test target is defined after this folder.
function(vandoro_cabecalhos_para_testes)
  if(TARGET test_gui)
    add_dependencies(test_gui cabecalhos)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vandoro_cabecalhos_para_testes)
