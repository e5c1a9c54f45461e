# Filled in as this area grows.
