;;; session.el --- prismark-lsp in Emacs with eglot, in batch mode  -*- lexical-binding: t -*-
;; SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
;; SPDX-License-Identifier: MIT
;; Run by run-session.sh in a folder holding init.el (the documented set-up) and
;; mytheme.qss (a broken sheet): opens the sheet, collects the diagnostics eglot
;; receives, completes a subcontrol and applies a quick fix. Prints what it saw;
;; exits 0 when all of it happened, 1 when not, 77 when eglot is missing.

(package-initialize)
(unless (require 'eglot nil t)
  (message "SKIPPED: eglot is not installed (Debian package elpa-eglot)")
  (kill-emacs 77))
(setq eglot-sync-connect t
      eglot-autoshutdown t)
(load (expand-file-name "init.el") nil t)

(defvar prismark-received nil "Diagnostics eglot received, newest first.")
(advice-add 'eglot-handle-notification :before
            (lambda (_server method &rest params)
              (when (eq method 'textDocument/publishDiagnostics)
                (push (append (plist-get params :diagnostics) nil) prismark-received))))

(defun prismark-wait (predicate what)
  "Let the server's messages in until PREDICATE holds; fail after 30 s naming WHAT."
  (let ((deadline (+ (float-time) 30)))
    (while (and (not (funcall predicate)) (< (float-time) deadline))
      (accept-process-output nil 0.05))
    (unless (funcall predicate)
      (error "Timed out waiting for %s" what))))

(defun prismark-session ()
  (find-file "mytheme.qss")
  (message "major mode: %s" major-mode)
  ;; eglot-ensure connects after the next command, which batch mode never runs.
  (run-hooks 'post-command-hook)
  (prismark-wait #'eglot-current-server "eglot to connect")
  (message "server: %s" (plist-get (eglot--server-info (eglot-current-server)) :name))
  (prismark-wait (lambda () prismark-received) "diagnostics")
  (let* ((diagnostics (car prismark-received))
         (unknown (seq-find (lambda (d) (equal (plist-get d :code) "unknown-property"))
                            diagnostics)))
    (message "diagnostics: %d" (length diagnostics))
    (dolist (d diagnostics)
      (let ((start (plist-get (plist-get d :range) :start)))
        (message "  %d:%d [%s] %s" (1+ (plist-get start :line)) (1+ (plist-get start :character))
                 (plist-get d :code) (plist-get d :message))))
    (unless unknown (error "No unknown-property diagnostic"))

    ;; Completion where a subcontrol goes, through eglot's own completion table.
    (goto-char (point-max))
    (insert "QScrollBar::")
    (eglot--signal-textDocument/didChange)
    (let* ((capf (eglot-completion-at-point))
           (candidates (all-completions "" (nth 2 capf))))
      (message "completion after QScrollBar::: %d candidates" (length candidates))
      (unless (member "handle" candidates)
        (error "No subcontrol handle among %S" candidates))
      (message "completed subcontrol: QScrollBar::handle"))

    ;; The quick fix for the unknown property, applied as eglot's command applies it.
    (let* ((range (plist-get unknown :range))
           (beg (eglot--lsp-position-to-point (plist-get range :start)))
           (end (eglot--lsp-position-to-point (plist-get range :end)))
           (action (car (eglot-code-actions beg end "quickfix"))))
      (unless action (error "No quick fix offered"))
      (eglot--apply-workspace-edit (plist-get action :edit))
      (goto-char beg)
      (message "after quick fix '%s': %s" (plist-get action :title)
               (string-trim (buffer-substring (line-beginning-position) (line-end-position))))
      (unless (string-match-p "^color:" (string-trim (thing-at-point 'line t)))
        (error "The quick fix did not make the property color")))
    (set-buffer-modified-p nil)
    (message "session: ok")))

(condition-case failure
    (progn (prismark-session) (kill-emacs 0))
  (error (message "session failed: %s" (error-message-string failure))
         (kill-emacs 1)))
