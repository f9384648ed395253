# Installation and the Debian package (`make pacote`, CPack DEB). The program folder keeps
# the build layout under ${VANDORO_DESTINO}; the commands on the PATH, the menu entry, the
# icon and the project file type go where the desktop looks for them, under usr/.

install(TARGETS vandoro-cli RUNTIME DESTINATION ${VANDORO_DESTINO_BIN})
# The PDF and GDAL modules sit beside the programs, which open them from their own folder.
install(TARGETS vandoro-pdf vandoro-gdal LIBRARY DESTINATION ${VANDORO_DESTINO_BIN})

# Relative links, so the same tree works under any prefix. Both programs find their data
# from the resolved executable, so a link on the PATH is enough.
set(vandoro_links "${CMAKE_BINARY_DIR}/pacote/usr-bin")
file(MAKE_DIRECTORY "${vandoro_links}")
set(vandoro_comandos vandoro-cli)
if(VANDORO_GUI)
  list(APPEND vandoro_comandos vandoro)
endif()
foreach(cmd ${vandoro_comandos})
  file(RELATIVE_PATH alvo "/usr/bin" "/${VANDORO_DESTINO_BIN}/${cmd}")
  file(CREATE_LINK "${alvo}" "${vandoro_links}/${cmd}" SYMBOLIC)
  install(FILES "${vandoro_links}/${cmd}" DESTINATION usr/bin)
endforeach()

if(VANDORO_GUI)
  install(TARGETS vandoro RUNTIME DESTINATION ${VANDORO_DESTINO_BIN})

  # The icon, drawn at build time as SVG and in the PNG sizes of the hicolor theme.
  add_executable(gerar_icone ${CMAKE_SOURCE_DIR}/tools/icone/gerar_icone.cpp)
  target_link_libraries(gerar_icone PRIVATE vandoro_common Qt6::Gui)
  set_target_properties(gerar_icone PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  set(VANDORO_ICONES "${CMAKE_BINARY_DIR}/pacote/icons/hicolor")
  set(vandoro_icones_saida "${VANDORO_ICONES}/scalable/apps/vandoro.svg")
  foreach(lado 16 22 24 32 48 64 128 256)
    list(APPEND vandoro_icones_saida "${VANDORO_ICONES}/${lado}x${lado}/apps/vandoro.png")
  endforeach()
  add_custom_command(
    OUTPUT ${vandoro_icones_saida}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:gerar_icone> "${VANDORO_ICONES}"
    DEPENDS gerar_icone
    COMMENT "Desenhando o ícone do programa"
    VERBATIM)
  add_custom_target(icone ALL DEPENDS ${vandoro_icones_saida})
  install(DIRECTORY "${VANDORO_ICONES}" DESTINATION usr/share/icons)

  install(FILES ${CMAKE_CURRENT_LIST_DIR}/vandoro.desktop DESTINATION usr/share/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/vandoro-projeto.xml DESTINATION usr/share/mime/packages
          RENAME vandoro.xml)
endif()

# The version lives in the core, where both programs print it from.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/core/common/Versao.h vandoro_linha_versao REGEX "kVersao = ")
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" VANDORO_VERSAO "${vandoro_linha_versao}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vandoro)
set(CPACK_PACKAGE_VERSION ${VANDORO_VERSAO})
set(CPACK_PACKAGING_INSTALL_PREFIX "/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "projeto de terraços agrícolas para a conservação do solo")
# Debian wants the lines of the long description under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
  "O Vandoro calcula o espaçamento entre terraços, o escoamento que cada\n\
terraço deve reter ou conduzir e a altura do canal, para terraços em nível,\n\
terraços com gradiente e bacias de acumulação, e escreve o relatório do\n\
projeto. Também loca terraços em nível sobre um modelo digital de elevação e\n\
traz um banco de equações de chuvas intensas do Brasil.\n\
O programa, os exemplos e os dados ficam em /${VANDORO_DESTINO}.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Desenvolvedores do Vandoro <vandoro@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs (files, printing, Yes/No) speak Portuguese only with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# The figures and reports are drawn with these fonts; Qt works without them, only less well.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
