;;; emacs_flyspell.el --- flyspell and ispell driving velmara-check  -*- lexical-binding: t -*-
;; Run by emacs_flyspell_test.sh: emacs --batch -Q -l emacs_flyspell.el
;; Environment: VELMARA_CHECK (the program), VELMARA_DB (a word database), VELMARA_WORDS (the
;; user's word list), VELMARA_TEXT (a Spanish text). Prints one line per finding.

(require 'ispell)
(require 'flyspell)

;; The three lines a user puts in the init file, plus the database and word list of the test.
(setq ispell-program-name (getenv "VELMARA_CHECK"))
(setq ispell-local-dictionary-alist
      '(("velmara" "[[:alpha:]]" "[^[:alpha:]]" "" nil nil nil utf-8)))
(setq ispell-dictionary "velmara")
(setq ispell-extra-args (list "--db" (getenv "VELMARA_DB")))
(setq ispell-personal-dictionary (getenv "VELMARA_WORDS"))
(setq flyspell-issue-message-flag nil)

(defun velmara-marked-words ()
  "The words that carry flyspell's error overlay, in buffer order."
  (let (words)
    (dolist (overlay (overlays-in (point-min) (point-max)))
      (when (flyspell-overlay-p overlay)
        (push (cons (overlay-start overlay)
                    (buffer-substring-no-properties (overlay-start overlay) (overlay-end overlay)))
              words)))
    (mapconcat #'cdr (sort words (lambda (a b) (< (car a) (car b)))) " ")))

(find-file (getenv "VELMARA_TEXT"))
(set-buffer-file-coding-system 'utf-8)
(flyspell-mode 1)

;; A short buffer is checked word by word through -a.
(flyspell-buffer)
(princ (format "marked: %s\n" (velmara-marked-words)))

;; What ispell-word offers for one word: the parsed answer of the pipe.
(ispell-init-process)
(let ((answer (ispell--run-on-word "camion")))
  (princ (format "offered: %s %s\n" (car answer) (car (nth 2 answer)))))

;; A word added to the user's list is accepted from then on, in this process and on disk.
(ispell-send-string "*Blogueo\n")
(ispell-send-string "#\n")
(ispell-init-process)                   ; as ispell-word does: forgets the answers read before
(princ (format "after adding: %S\n" (ispell--run-on-word "blogueo")))

;; A large region goes through -l and then the pipe for every word it lists.
(let ((flyspell-large-region 1))
  (flyspell-buffer))
(princ (format "large region: %s\n" (velmara-marked-words)))
(ispell-kill-ispell t)
