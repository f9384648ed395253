# Figures, colour maps and result pictures of the sizing window, painted by
# gerar_figuras_dimensionamento into the program folder.
if(TARGET gerar_figuras_dimensionamento)
  set(figuras_dim terraco.bmp canal.bmp terraco_mapa.bmp bacia.bmp bacia_mapa.bmp nivel.bmp grad.bmp
      secao_triangular.bmp secao_trapezoidal.bmp)
  list(TRANSFORM figuras_dim PREPEND "${VANDORO_BIN_DIR}/" OUTPUT_VARIABLE figuras_dim_saida)
  add_custom_command(
    OUTPUT ${figuras_dim_saida}
    COMMAND ${CMAKE_COMMAND} -E make_directory "${VANDORO_BIN_DIR}"
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:gerar_figuras_dimensionamento> "${VANDORO_BIN_DIR}"
    DEPENDS gerar_figuras_dimensionamento
    COMMENT "Desenhando as figuras do dimensionamento"
    VERBATIM)
  add_custom_target(figuras_dimensionamento ALL DEPENDS ${figuras_dim_saida})
  install(FILES ${figuras_dim_saida} DESTINATION ${VANDORO_DESTINO_BIN})
  function(vandoro_figuras_para_testes)
    if(TARGET test_gui)
      add_dependencies(test_gui figuras_dimensionamento)
    endif()
  endfunction()
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vandoro_figuras_para_testes)
endif()
