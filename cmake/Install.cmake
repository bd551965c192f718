# What `cmake --install` and the package put where. Every destination is relative to the prefix,
# so --prefix and DESTDIR both work. Nothing of the tests, benchmarks or tools is installed.
#
#   bin/glyphor_police                                   (CMAKE_INSTALL_BINDIR)
#   lib/glyphor/libtavi.so config.xml manifest.xml       (CMAKE_INSTALL_LIBDIR; the package's
#                                                         is lib/<architecture triplet>)
#   share/glyphor/Game/*.DLL, share/glyphor/Data/...     read only
#   share/applications, share/icons, share/metainfo, share/man/man6, share/doc/glyphor

set(GLYPHOR_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/data/desktop)
set(GLYPHOR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/glyphor)

install(TARGETS glyphor_police RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The module is loaded with dlopen, never linked: a private library without a version.
install(TARGETS tavi LIBRARY DESTINATION ${GLYPHOR_INSTALL_MODULE_DIR}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${CMAKE_SOURCE_DIR}/admodule/sample/config.xml ${CMAKE_SOURCE_DIR}/admodule/sample/manifest.xml
        DESTINATION ${GLYPHOR_INSTALL_MODULE_DIR})

# The packs and the data as the build stages them; the player's files in dist/Game stay behind.
install(FILES ${GLYPHOR_DIST}/Game/GameRes.DLL ${GLYPHOR_DIST}/Game/GameSnd.DLL
        DESTINATION ${GLYPHOR_INSTALL_DATA_DIR}/Game)
install(DIRECTORY ${GLYPHOR_DIST}/Data DESTINATION ${GLYPHOR_INSTALL_DATA_DIR}
        FILES_MATCHING PATTERN "*.ID" PATTERN "*.txt")

install(FILES ${GLYPHOR_DESKTOP_DIR}/glyphor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${GLYPHOR_DESKTOP_DIR}/org.glyphor.Glyphor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${GLYPHOR_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The man page and the changelog are compressed as Debian keeps them; the copyright file is plain.
set(GLYPHOR_GZIPPED ${CMAKE_BINARY_DIR}/gzipped)
foreach(pair "glyphor_police.6;glyphor_police.6.gz" "changelog;changelog.gz")
  list(GET pair 0 source)
  list(GET pair 1 target)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${GLYPHOR_DESKTOP_DIR}/${source})
  file(MAKE_DIRECTORY ${GLYPHOR_GZIPPED})
  execute_process(COMMAND gzip -9nc ${GLYPHOR_DESKTOP_DIR}/${source} OUTPUT_FILE ${GLYPHOR_GZIPPED}/${target}
                  RESULT_VARIABLE gzip_result)
  if(NOT gzip_result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${source}")
  endif()
endforeach()
install(FILES ${GLYPHOR_GZIPPED}/glyphor_police.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${GLYPHOR_GZIPPED}/changelog.gz ${GLYPHOR_DESKTOP_DIR}/copyright DESTINATION ${GLYPHOR_DOC_DIR})
