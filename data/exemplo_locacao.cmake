# Rasters of the location example (hugo_site smoothed and resampled to 2 m, and its slope, in
# SIRGAS 2000 / UTM zone 23S) and the waterway along its thalweg,
# written by gerar_exemplos beside the shipped projects in the program folder.
if(TARGET gerar_exemplos)
  set(relevo_loc hugo_site_2m.flt hugo_site_2m.hdr hugo_site_2m.prj hugo_site_2m_declividade.flt
                 hugo_site_2m_declividade.hdr hugo_site_2m_declividade.prj hugo_site_2m_escoadouro.vet)
  list(TRANSFORM relevo_loc PREPEND "${VANDORO_BIN_DIR}/Exemplos/" OUTPUT_VARIABLE relevo_loc_saida)
  add_custom_command(
    OUTPUT ${relevo_loc_saida}
    COMMAND ${CMAKE_COMMAND} -E make_directory "${VANDORO_BIN_DIR}/Exemplos"
    COMMAND $<TARGET_FILE:gerar_exemplos> "${VANDORO_BIN_DIR}/Exemplos"
    DEPENDS gerar_exemplos ${CMAKE_CURRENT_SOURCE_DIR}/Exemplos/hugo_site.asc
    COMMENT "Gerando o relevo do exemplo de locação"
    VERBATIM)
  add_custom_target(exemplo_locacao ALL DEPENDS ${relevo_loc_saida})
  install(FILES ${relevo_loc_saida} DESTINATION ${VANDORO_DESTINO_BIN}/Exemplos)
endif()
