# Writes the C++ source that makes a program carry its .res file: the machine reads the
# bytes as the resources of the program's image (see sim/resources.cpp).
#   cmake -DRES=<file.res> -DOUT=<file.cpp> -P embed_res.cmake
file(READ ${RES} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
get_filename_component(name ${RES} NAME)
file(WRITE ${OUT}.tmp "// Generated from ${name} by sim/embed_res.cmake: the program's resources.
extern \"C\" {
extern const unsigned char simwin_module_resources[];
extern const unsigned long simwin_module_resources_size;
alignas(4) const unsigned char simwin_module_resources[${size}] = {
${bytes}
};
const unsigned long simwin_module_resources_size = ${size};
}
")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
