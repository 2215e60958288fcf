# `cmake --install BUILD --prefix P` of a native build: P/bin/mshost and, in
# P/lib/mshost/, the two plug-ins with the libraries they and mshost share.
# Every library is found relative to the file that needs it ($ORIGIN), and
# mshost finds its plug-ins relative to itself, so P can be moved as a whole.
set_target_properties(mshost PROPERTIES INSTALL_RPATH "$ORIGIN/../lib/mshost")
set_target_properties(dravelin korbastel msModelLib platform PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS mshost RUNTIME DESTINATION bin)
install(TARGETS dravelin korbastel msModelLib platform LIBRARY DESTINATION lib/mshost)
