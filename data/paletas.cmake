# The viewer's built-in palettes, written by their generator into "Arquivos Comuns/Paletas".
set(paletas_pasta "${VANDORO_COMMON_DIR}/Paletas")
set(paletas_arquivos)
foreach(p idris256 qual256 bimod256 cinza1 paleta6)
  list(APPEND paletas_arquivos "${paletas_pasta}/${p}.pal")
endforeach()

add_custom_command(
  OUTPUT ${paletas_arquivos}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${paletas_pasta}
  COMMAND gerar_paletas ${paletas_pasta}
  DEPENDS gerar_paletas
  COMMENT "Gerando as paletas de cores"
  VERBATIM)
add_custom_target(paletas ALL DEPENDS ${paletas_arquivos})

install(FILES ${paletas_arquivos} DESTINATION "${VANDORO_DESTINO_COMUNS}/Paletas")

# The raster and window tests read the palettes; their targets are defined after this folder.
function(vandoro_paletas_para_testes)
  foreach(t test_raster test_gui)
    if(TARGET ${t})
      add_dependencies(${t} paletas)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL vandoro_paletas_para_testes)
