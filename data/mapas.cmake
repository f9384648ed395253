# State maps of the rainfall consultation, drawn from the state boundaries at build time:
# the state bitmaps sit in the database folder beside the database files, the map of
# Brazil in its own sub-folder.
set(mapas_fonte ${CMAKE_CURRENT_SOURCE_DIR}/fontes/mapas/brazil-states.geojson)
set(mapas_pasta "${VANDORO_COMMON_DIR}/Quenda")
set(mapas_pasta_brasil "${VANDORO_COMMON_DIR}/Quenda/Mapas")
set(mapas_estados)
foreach(sigla BA ES MG PR RJ SP TO)
  list(APPEND mapas_estados "${mapas_pasta}/${sigla}.bmp")
endforeach()
set(mapa_brasil "${mapas_pasta_brasil}/Brasil.bmp")

add_custom_command(
  OUTPUT ${mapas_estados} ${mapa_brasil}
  COMMAND gerar_mapas_estados ${mapas_fonte} ${mapas_pasta} ${mapas_pasta_brasil}
  DEPENDS gerar_mapas_estados ${mapas_fonte}
  COMMENT "Desenhando os mapas dos estados"
  VERBATIM)
add_custom_target(mapas_estados ALL DEPENDS ${mapas_estados} ${mapa_brasil})

install(FILES ${mapas_estados} DESTINATION "${VANDORO_DESTINO_COMUNS}/Quenda")
install(FILES ${mapa_brasil} DESTINATION "${VANDORO_DESTINO_COMUNS}/Quenda/Mapas")

# The rainfall tests read the pictures; the test target is defined after this folder.
function(vandoro_mapas_para_testes)
  if(TARGET test_rainfall)
    add_dependencies(test_rainfall mapas_estados)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vandoro_mapas_para_testes)
