# Runs the program with no display at all: it must explain on stderr and
# exit with code 2, before trying to open a window.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          ${PROGRAMA}
  RESULT_VARIABLE codigo
  OUTPUT_VARIABLE saida
  ERROR_VARIABLE erro
  TIMEOUT 20)
if(NOT codigo EQUAL 2)
  message(FATAL_ERROR "exit code ${codigo}, expected 2 (stderr: ${erro})")
endif()
if(NOT erro MATCHES "needs a graphical display \\(X11 or Wayland\\)\\. Set DISPLAY, or run it under Xvfb: xvfb-run")
  message(FATAL_ERROR "unexpected stderr: ${erro}")
endif()
