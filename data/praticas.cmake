# The practice pages (texto/) and the help pages (ajuda/), copied beside the program; the
# figures of the practice pages are drawn by gerar_figuras_praticas (Qt, offscreen).
foreach(pasta texto ajuda)
  file(GLOB_RECURSE paginas CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pasta}/*)
  foreach(f ${paginas})
    file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR} ${f})
    configure_file(${f} ${VANDORO_BIN_DIR}/${rel} COPYONLY)
  endforeach()
  install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${pasta} DESTINATION ${VANDORO_DESTINO_BIN} OPTIONAL)
endforeach()

if(VANDORO_GUI)
  add_executable(gerar_figuras_praticas ${CMAKE_SOURCE_DIR}/tools/praticas/gerar_figuras_praticas.cpp)
  target_link_libraries(gerar_figuras_praticas PRIVATE Qt6::Gui)
  set_target_properties(gerar_figuras_praticas PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  set(pasta_figuras "${VANDORO_BIN_DIR}/texto/figuras")
  set(figuras_praticas corte_nivel.png corte_gradiente.png bacia.png espacamento.png planta_terracos.png)
  list(TRANSFORM figuras_praticas PREPEND "${pasta_figuras}/")
  add_custom_command(
    OUTPUT ${figuras_praticas}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:gerar_figuras_praticas> "${pasta_figuras}"
    DEPENDS gerar_figuras_praticas
    COMMENT "Desenhando as figuras das práticas conservacionistas"
    VERBATIM)
  add_custom_target(figuras_praticas ALL DEPENDS ${figuras_praticas})
  install(FILES ${figuras_praticas} DESTINATION ${VANDORO_DESTINO_BIN}/texto/figuras)

  # The window tests open the shipped pages; the test target is defined after this folder.
  function(vandoro_figuras_para_testes)
    if(TARGET test_gui)
      add_dependencies(test_gui figuras_praticas)
    endif()
  endfunction()
  cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vandoro_figuras_para_testes)
endif()
