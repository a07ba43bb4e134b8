# Installs the desktop entry. Where the designer lands in a folder on every PATH the entry starts it by
# name; elsewhere (~/.local, /opt/...) by its full path, quoted and escaped as desktop entries need.
cmake_path(ABSOLUTE_PATH TAV_INSTALL_BINDIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE
           OUTPUT_VARIABLE bindir)
cmake_path(ABSOLUTE_PATH TAV_INSTALL_DATADIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE
           OUTPUT_VARIABLE datadir)
string(REGEX REPLACE "/$" "" bindir "${bindir}")
set(program "${bindir}/tavbuilder")
string(ASCII 1 first_control)
string(ASCII 31 last_control)
string(ASCII 127 delete)
if(program MATCHES "[${first_control}-${last_control}${delete}]")
    message(FATAL_ERROR "The desktop entry cannot name a program whose path holds a control character: ${program}")
elseif(bindir STREQUAL "/usr/bin" OR bindir STREQUAL "/usr/local/bin")
    set(program tavbuilder)
elseif(program MATCHES "[^A-Za-z0-9/._+-]")
    # Inside quotes ", `, $ and \ take a backslash; then every \ of the value is doubled, % becomes %%.
    string(REGEX REPLACE "([\"`$\\])" "\\\\\\1" program "${program}")
    string(REPLACE "\\" "\\\\" program "${program}")
    set(program "\"${program}\"")
endif()
string(REPLACE "%" "%%" program "${program}")

file(READ "${TAV_DESKTOP_ENTRY}" entry)
string(REPLACE "\nExec=tavbuilder " "\nExec=${program} " entry "${entry}")
file(WRITE "${TAV_DESKTOP_WORK}/applications/tavbuilder.desktop" "${entry}")
file(INSTALL DESTINATION "${datadir}/applications" TYPE FILE FILES "${TAV_DESKTOP_WORK}/applications/tavbuilder.desktop")
