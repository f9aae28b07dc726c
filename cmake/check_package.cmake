# Builds the Debian package in a scratch folder of the build and checks its file list and its
# declared dependencies.
# Run: cmake -DBUILD_DIR=<build> -DVERSION=<x.y.z> -P check_package.cmake
set(out ${BUILD_DIR}/package-check)
file(REMOVE_RECURSE ${out})
file(MAKE_DIRECTORY ${out})
execute_process(COMMAND cpack -G DEB -B ${out} --config ${BUILD_DIR}/CPackConfig.cmake
                WORKING_DIRECTORY ${BUILD_DIR} RESULT_VARIABLE built OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${log}")
endif()
file(GLOB packages ${out}/kasa_${VERSION}_*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one kasa_${VERSION}_ARCH.deb in ${out}, found: ${packages}")
endif()
execute_process(COMMAND dpkg-deb -c ${packages} OUTPUT_VARIABLE contents RESULT_VARIABLE listed)
execute_process(COMMAND dpkg-deb -f ${packages} Depends OUTPUT_VARIABLE depends)
string(REPLACE "\n" ";" lines "${contents}")
set(faults "")
foreach(expected
    "./usr/bin/kasa$" "./usr/bin/kasa-start$" "./usr/lib/[^/]*/?libkasa_sqlite.so$"
    "./usr/share/applications/kasa.desktop$" "./usr/share/icons/hicolor/scalable/apps/kasa.svg$"
    "./usr/share/doc/kasa/instrukcja.md$" "./usr/share/doc/kasa/kasa.pdf$" "./usr/share/doc/kasa/img/[^/]+.png$"
    "./usr/share/doc/kasa/informacja.ini$")
  set(found FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES " ${expected}")
      set(found TRUE)
    endif()
  endforeach()
  if(NOT found)
    string(APPEND faults "missing in the package: ${expected}\n")
  endif()
endforeach()
foreach(library libqt6widgets6 libsqlite3-0 fonts-liberation)
  if(NOT depends MATCHES "${library}")
    string(APPEND faults "not among the dependencies: ${library} (Depends: ${depends})\n")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "${faults}\n${contents}")
endif()
message(STATUS "${packages} holds what an installation needs")
