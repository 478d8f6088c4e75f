# Copies the bundled data tree (cmake -DSOURCE=data -DDEST=bin -P ...) without
# the layout tool's seeds.
file(COPY ${SOURCE}/ DESTINATION ${DEST} PATTERN seed EXCLUDE)
