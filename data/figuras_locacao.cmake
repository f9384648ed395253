# The location window's side picture and its colour map, painted by gerar_figuras_locacao.
if(TARGET gerar_figuras_locacao)
  set(figuras_loc locacao.bmp locacao_mapa.bmp)
  list(TRANSFORM figuras_loc PREPEND "${VANDORO_BIN_DIR}/" OUTPUT_VARIABLE figuras_loc_saida)
  add_custom_command(
    OUTPUT ${figuras_loc_saida}
    COMMAND ${CMAKE_COMMAND} -E make_directory "${VANDORO_BIN_DIR}"
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:gerar_figuras_locacao> "${VANDORO_BIN_DIR}"
    DEPENDS gerar_figuras_locacao
    COMMENT "Desenhando a figura da locação"
    VERBATIM)
  add_custom_target(figuras_locacao ALL DEPENDS ${figuras_loc_saida})
  install(FILES ${figuras_loc_saida} DESTINATION ${VANDORO_DESTINO_BIN})
  function(vandoro_figuras_locacao_para_testes)
    if(TARGET test_gui)
      add_dependencies(test_gui figuras_locacao)
    endif()
  endfunction()
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vandoro_figuras_locacao_para_testes)
endif()
