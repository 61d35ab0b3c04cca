# cmake -DTEMPLATE=FILE -DPLACEHOLDER=TEXT -DVALUES=FILE -DOUTPUT=FILE -P FillTemplate.cmake
# Writes TEMPLATE to OUTPUT with PLACEHOLDER replaced by the contents of VALUES: for texts
# whose parts a built program prints.
file(READ ${TEMPLATE} text)
file(READ ${VALUES} values)
string(REPLACE "${PLACEHOLDER}" "${values}" text "${text}")
file(WRITE ${OUTPUT} "${text}")
