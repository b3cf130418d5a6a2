# One static library per layer, lowest first:
#   vx_base (src/common) < vx_refdata, vx_geo, vx_model < vx_engine < vx_views < vx_app
# (vx_voacap, the built-in engine's command line, stands on vx_engine)
# with Qt edge libraries (vx_engine_qt, vx_views_qt, ...) beside the layer
# they serve; kestrix_core and kestrix_qt (src/manager) stand on vx_base and
# vx_refdata only.
#
# A layer's headers are reached as "folder/Header.h" through an include root
# of its own that holds just one link, to its folder. A library sees its own
# root and the roots of the libraries it links, never the source tree as a
# whole, so including a header of a higher layer does not compile.

# The layer table: each folder of src/ and the folders whose headers it may
# include (its own among them). tests/layers/check_layers.py reads it from
# here; keep one entry a line.
set(VX_LAYER_TABLE
  "common: common"
  "refdata: common refdata"
  "geo: common geo"
  "model: common model"
  "engine: common refdata geo model engine"
  "voacap: common refdata model engine voacap"
  "views: common refdata geo model engine views"
  "app: common refdata geo model engine views app"
  "com: common refdata geo model engine views app com"
  "desktop: common desktop"
  "gui: common refdata geo model engine views app com desktop gui"
  "cli: common refdata geo model engine views app com cli"
  "manager: common refdata manager"
)

# vx_layer_library(TARGET FOLDER [sources...]): a static library for
# src/FOLDER whose headers are published through the layer's include root.
function(vx_layer_library target folder)
  add_library(${target} STATIC ${ARGN})
  vx_publish_folder(${target} ${folder})
endfunction()

# Publishes src/FOLDER's headers to TARGET and whoever links it.
function(vx_publish_folder target folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
