# The Debian package, made by `cpack -G DEB` in a build folder (scripts/package builds one in
# Release). Library dependencies come from the binaries (dpkg-shlibdeps); what the program loads
# without linking it (Qt's platform plugin, the fonts its windows and documents name) is listed by
# hand.

set(URBAFLUX_MAINTAINER "Sviluppatori di Urbaflux <urbaflux@example.org>" CACHE STRING
    "Maintainer of the Debian package")

set(CPACK_PACKAGE_NAME urbaflux)
set(CPACK_PACKAGE_VENDOR "${URBAFLUX_DEVELOPER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "modelli gravitazionali urbanistici")
set(CPACK_PACKAGE_DESCRIPTION
    "Urbaflux calcola i modelli gravitazionali (di interazione spaziale) tra le zone di
un'area di studio: origine vincolata, destinazione vincolata, origine e destinazione
vincolate. Ricalcola le interazioni a ogni modifica, disegna le venti gravitazioni
principali, archivia i dati in file di testo e scrive la relazione tecnica come
documento DOCX. Comprende urbaflux-calc, il calcolo in serie da riga di comando.")
set(CPACK_PACKAGE_CONTACT "${URBAFLUX_MAINTAINER}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${URBAFLUX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${URBAFLUX_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The GIS import reads EPSG definitions from PROJ's database at run time, which no linking shows.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-dejavu-core, fonts-urw-base35, libgdal32 (>= 3.6), libgeographiclib23, proj-data")
# The music needs a General MIDI soundfont; Qt's own dialogs read Italian from the translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont | sf2-soundfont-gm, qt6-translations-l10n")

include(CPack)
