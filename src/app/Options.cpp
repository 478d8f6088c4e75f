// options: to come
