# SPDX-License-Identifier: GPL-3.0-or-later
# The program's own files and how it is installed.
#
# In the build folder the user's guide is laid out beside the programs as it
# is under the prefix once installed (bin/aide here, share/kvx/aide there),
# so the program finds it in both places (src/platform/fichiers_installes).
# Its pictures are made by kvx-captures at each build, so they never show an
# older window than the one built.
include(GNUInstallDirs)

set(KVX_DOSSIER_PARTAGE ${CMAKE_INSTALL_DATADIR}/kvx)

if(KVX_BUILD_GUI)
  set(kvx_aide_construite ${CMAKE_BINARY_DIR}/bin/aide)
  file(GLOB kvx_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/aide/*.html
       ${PROJECT_SOURCE_DIR}/docs/aide/*.css)
  add_custom_command(
    OUTPUT ${kvx_aide_construite}/.pages
    COMMAND ${CMAKE_COMMAND} -E make_directory ${kvx_aide_construite}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${kvx_pages} ${kvx_aide_construite}
    COMMAND ${CMAKE_COMMAND} -E touch ${kvx_aide_construite}/.pages
    DEPENDS ${kvx_pages}
    COMMENT "User's guide beside the programs")
  add_custom_command(
    OUTPUT ${kvx_aide_construite}/images/.captures
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:kvx-captures> ${kvx_aide_construite}/images
    COMMAND ${CMAKE_COMMAND} -E touch ${kvx_aide_construite}/images/.captures
    # kvx puts the starting sensor library beside the programs.
    DEPENDS kvx-captures kvx ${kvx_aide_construite}/.pages
    COMMENT "Pictures of the window and the dialogs for the user's guide")
  add_custom_target(kvx_aide ALL
    DEPENDS ${kvx_aide_construite}/.pages ${kvx_aide_construite}/images/.captures)

  foreach(programme IN ITEMS kvx kvx-sim kvx-send kvx-record)
    if(TARGET ${programme})
      install(TARGETS ${programme} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
      if(EXISTS ${PROJECT_SOURCE_DIR}/docs/man/${programme}.1)
        install(FILES ${PROJECT_SOURCE_DIR}/docs/man/${programme}.1
                DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
      endif()
    endif()
  endforeach()

  install(DIRECTORY ${kvx_aide_construite}/ DESTINATION ${KVX_DOSSIER_PARTAGE}/aide
          PATTERN ".pages" EXCLUDE PATTERN ".captures" EXCLUDE)
  install(FILES ${PROJECT_SOURCE_DIR}/data/kvx.CPT DESTINATION ${KVX_DOSSIER_PARTAGE})
  # data/veltor.hex is the simulated box's fork program only, compiled in: a
  # real box needs the maker's, which the user installs; none is shipped.

  foreach(cote IN ITEMS 16 22 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/kvx-${cote}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${cote}x${cote}/apps
            RENAME kvx.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/kvx.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/data/kvx.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/kvx-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME kvx.xml)
  # Software centres list the program from its AppStream description.
  install(FILES ${KVX_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          RENAME org.kvx_projet.kvx.metainfo.xml)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kvx)
endif()
