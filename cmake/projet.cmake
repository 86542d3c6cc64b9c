# SPDX-License-Identifier: GPL-3.0-or-later
# The project's addresses and release, set once: the maintainer and the home
# page in debian/control, the version and its date in debian/changelog. The
# about box and the AppStream description are made from them here, so a new
# address or release is written in one place.

set(kvx_control ${PROJECT_SOURCE_DIR}/debian/control)
set(kvx_changelog ${PROJECT_SOURCE_DIR}/debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${kvx_control} ${kvx_changelog}
             ${PROJECT_SOURCE_DIR}/src/model/version.h)

file(STRINGS ${kvx_control} kvx_ligne REGEX "^Maintainer: " LIMIT_COUNT 1)
string(REGEX REPLACE "^Maintainer: *" "" KVX_MAINTENEUR "${kvx_ligne}")
string(REGEX REPLACE "^.*<(.*)>.*$" "\\1" KVX_COURRIEL "${KVX_MAINTENEUR}")
string(REGEX REPLACE " *<.*$" "" KVX_NOM_MAINTENEUR "${KVX_MAINTENEUR}")
file(STRINGS ${kvx_control} kvx_ligne REGEX "^Homepage: " LIMIT_COUNT 1)
string(REGEX REPLACE "^Homepage: *" "" KVX_PAGE_ACCUEIL "${kvx_ligne}")
if(NOT KVX_COURRIEL MATCHES "@" OR NOT KVX_PAGE_ACCUEIL MATCHES "^https://")
  message(FATAL_ERROR "debian/control must give the Maintainer's address and the Homepage")
endif()

# First line "kvx (0.1.0) unstable; ...", the first signature line its date.
file(STRINGS ${kvx_changelog} kvx_ligne LIMIT_COUNT 1)
string(REGEX REPLACE "^[^(]*\\(([^)]*)\\).*$" "\\1" KVX_VERSION_PAQUET "${kvx_ligne}")
if(NOT KVX_VERSION_PAQUET STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "debian/changelog is at ${KVX_VERSION_PAQUET}, the project at ${PROJECT_VERSION}")
endif()
# --version and the about box print the core's own copy of it.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/model/version.h kvx_ligne REGEX "kVersion = ")
if(NOT kvx_ligne MATCHES "\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "src/model/version.h does not give ${PROJECT_VERSION}")
endif()
file(STRINGS ${kvx_changelog} kvx_ligne REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE "^.*, ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) .*$" "\\3-\\2-\\1" kvx_date "${kvx_ligne}")
set(kvx_mois Jan 01 Feb 02 Mar 03 Apr 04 May 05 Jun 06 Jul 07 Aug 08 Sep 09 Oct 10 Nov 11 Dec 12)
foreach(kvx_i RANGE 0 22 2)
  math(EXPR kvx_j "${kvx_i} + 1")
  list(GET kvx_mois ${kvx_i} kvx_nom)
  list(GET kvx_mois ${kvx_j} kvx_numero)
  string(REPLACE "-${kvx_nom}-" "-${kvx_numero}-" kvx_date "${kvx_date}")
endforeach()
string(REGEX REPLACE "-([0-9])$" "-0\\1" KVX_DATE_VERSION "${kvx_date}")

set(KVX_GENERE ${CMAKE_BINARY_DIR}/genere)
configure_file(${PROJECT_SOURCE_DIR}/cmake/adresses.h.in ${KVX_GENERE}/projet/adresses.h @ONLY)
set(KVX_METAINFO ${KVX_GENERE}/kvx.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/data/kvx.metainfo.xml.in ${KVX_METAINFO} @ONLY)
