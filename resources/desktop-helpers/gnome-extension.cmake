# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DGLUE=... -DREPORTER=... -DMETADATA=... -DOUT=... -P gnome-extension.cmake
# Makes one format of Padloom's GNOME Shell extension in the folder OUT: the format's glue with
# the shared focus reporter put in at its "// @focus-reporter@" line, and its metadata.
file(READ ${GLUE} _glue)
file(READ ${REPORTER} _reporter)
string(FIND "${_glue}" "// @focus-reporter@\n" _at)
if(_at LESS 0)
  message(FATAL_ERROR "${GLUE} has no // @focus-reporter@ line")
endif()
string(REPLACE "// @focus-reporter@\n" "${_reporter}" _extension "${_glue}")
file(MAKE_DIRECTORY ${OUT})
file(WRITE ${OUT}/extension.js "${_extension}")
file(COPY_FILE ${METADATA} ${OUT}/metadata.json ONLY_IF_DIFFERENT)
