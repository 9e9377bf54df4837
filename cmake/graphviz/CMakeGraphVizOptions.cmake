# What the architecture diagram shows: the project's own libraries and
# programs and how they link, without system libraries or test targets.
set(GRAPHVIZ_GRAPH_NAME "Quirlex")
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_OBJECT_LIBS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS "_tests$;^quirlex_testing$;^quirlex_autogen")
