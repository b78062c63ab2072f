# Installs the build into a scratch prefix and uses the tree from there only.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DVERSION=1.5 -DCC=cc -DCONSUMER=motr_consumer.c
#         [-DCONSUMER_FLAGS=...] -P install_check.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect_exists)
  foreach(path IN LISTS ARGN)
    if(NOT EXISTS ${PREFIX}/${path})
      message(FATAL_ERROR "not installed: ${path}")
    endif()
  endforeach()
endfunction()

file(REMOVE_RECURSE ${PREFIX})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

expect_exists(bin/morvo bin/morvo-cli lib/libmotr.so include/motr.h lib/pkgconfig/motr.pc
              share/applications/morvo.desktop share/mime/packages/morvo.xml
              share/icons/hicolor/scalable/apps/morvo.svg
              share/morvo/Models share/morvo/Scripts share/morvo/Images share/morvo/doc)
foreach(size 16 32 48 64 128 256)
  expect_exists(share/icons/hicolor/${size}x${size}/apps/morvo.png)
endforeach()

# Both programs say which version they are; neither needs a display for it.
run(${PREFIX}/bin/morvo --version)
if(NOT out STREQUAL "morvo ${VERSION}\n")
  message(FATAL_ERROR "morvo --version printed '${out}'")
endif()
run(${PREFIX}/bin/morvo-cli --version)
if(NOT out STREQUAL "morvo-cli ${VERSION}\n")
  message(FATAL_ERROR "morvo-cli --version printed '${out}'")
endif()

# Every shipped model reads as a valid scene; with none shipped yet, one made by the installed
# morvo-cli stands in.
file(GLOB models ${PREFIX}/share/morvo/Models/*.mvo)
if(NOT models)
  run(${PREFIX}/bin/morvo-cli new cube torus ${PREFIX}/made.mvo)
  set(models ${PREFIX}/made.mvo)
endif()
foreach(model IN LISTS models)
  run(${PREFIX}/bin/morvo-cli info ${model} --json)
  if(NOT out MATCHES "\"valid\": true" OR out MATCHES "\"valid\": false")
    message(FATAL_ERROR "${model} is not a valid scene from the installed tree:\n${out}")
  endif()
endforeach()

# The shipped tutorial scripts are there and each plays to the end.
file(GLOB scripts ${PREFIX}/share/morvo/Scripts/*.mvs)
if(NOT scripts)
  message(FATAL_ERROR "no tutorial scripts in share/morvo/Scripts")
endif()
foreach(script IN LISTS scripts)
  run(${PREFIX}/bin/morvo-cli play ${script} -o ${PREFIX}/played.mvo)
  run(${PREFIX}/bin/morvo-cli info ${PREFIX}/played.mvo)
endforeach()

# A C program finds libmotr's header and library through the installed pkg-config file alone.
find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG AND CC)
  set(ENV{PKG_CONFIG_PATH} ${PREFIX}/lib/pkgconfig)
  run(${PKG_CONFIG} --cflags --libs motr)
  separate_arguments(flags UNIX_COMMAND "${out}")
  run(${CC} ${CONSUMER_FLAGS} ${CONSUMER} ${flags} -Wl,-rpath,${PREFIX}/lib
      -o ${PREFIX}/motr_consumer)
  run(${PREFIX}/motr_consumer)
endif()

# The MIME description is one the desktop's database accepts, with both types.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  run(${UPDATE_MIME} ${PREFIX}/share/mime)
  expect_exists(share/mime/application/x-morvo-scene.xml share/mime/application/x-morvo-script.xml)
endif()
